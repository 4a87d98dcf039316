#pragma once
// Page 6 "系统": lock, mute, data transfer and save mode; power-on modes; volume limits.

#include "pages/page_base.h"

#include <array>

class QGroupBox;

namespace korvanex {

class dcButton;
class ctSlide;
class TextBox;
class OptionGroup;

class SystemPage : public PageBase {
    Q_OBJECT
public:
    explicit SystemPage(QWidget* parent = nullptr);

    // The save button shows while "手动保存" is chosen; a user's choice does this at once, code
    // that sets Option5 calls it.
    void showSaveMode();

    std::array<QGroupBox*, 3> Shape1{}; // the three group rectangles
    dcButton* dcButton32;               // "Lock"
    dcButton* dcButton31;               // "Mute"
    dcButton* dcButton13;               // "上传数据到电脑"
    dcButton* dcButton14;               // "导出数据到设备"
    QWidget* Picture3;
    OptionGroup* Option5; // "自动保存", "手动保存"
    dcButton* dcButton4;  // "保存", shown only with "手动保存"
    std::array<QWidget*, 3> Picture2{};
    OptionGroup* Option2; // Music1..Music6
    OptionGroup* Option3; // MIC1..MIC6
    OptionGroup* Option4; // KTV1..KTV4, EFF1..EFF4
    ctSlide* ctSlide13;   // music power-on volume
    TextBox* Text13;
    ctSlide* ctSlide14; // music maximum
    TextBox* Text14;
    ctSlide* ctSlide15; // microphone power-on volume
    TextBox* Text15;
    ctSlide* ctSlide16; // microphone maximum
    TextBox* Text16;
    ctSlide* ctSlide17; // effect power-on volume
    TextBox* Text17;
    ctSlide* ctSlide18; // effect maximum
    TextBox* Text18;
};

} // namespace korvanex
