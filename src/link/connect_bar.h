#pragma once
// What the link reads and sets of the window's connect bar: the connect button `mnulianji`,
// the disconnect button `mnutuoji` and the status label `Label6`. The window implements it.

#include <QString>
#include <cstdint>

namespace korvanex::link {

// Colours as 0x00BBGGRR.
inline constexpr std::uint32_t kStatusGreen = 0x00FF00;
inline constexpr std::uint32_t kStatusRed = 0x0000FF;

class ConnectBar {
public:
    virtual ~ConnectBar() = default;
    virtual bool mnulianjiEnabled() const = 0;
    virtual void setMnulianjiEnabled(bool on) = 0;
    virtual bool mnutuojiEnabled() const = 0;
    virtual void setMnutuojiEnabled(bool on) = 0;
    // Label6's caption and its colour (0x00BBGGRR).
    virtual void setLabel6(const QString& text, std::uint32_t colour) = 0;
};

// A bar that only remembers: for running the link without a window.
class MemoryConnectBar : public ConnectBar {
public:
    bool mnulianjiEnabled() const override { return connectEnabled; }
    void setMnulianjiEnabled(bool on) override { connectEnabled = on; }
    bool mnutuojiEnabled() const override { return disconnectEnabled; }
    void setMnutuojiEnabled(bool on) override { disconnectEnabled = on; }
    void setLabel6(const QString& text, std::uint32_t colour) override {
        statusText = text;
        statusColour = colour;
    }

    bool connectEnabled = true;
    bool disconnectEnabled = false; // the disconnect button starts disabled
    QString statusText = QStringLiteral("未连接");
    std::uint32_t statusColour = 0;
};

} // namespace korvanex::link
