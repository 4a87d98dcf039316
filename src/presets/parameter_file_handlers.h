#pragma once
// The two buttons of the system page's "数据保存/调用" group: "上传数据到电脑" (dcButton13)
// saves the page parameters to a "*.ktv" file; "导出数据到设备" (dcButton14) loads one into the
// pages and has the link download it to the unit as the whole set. Both work only while the
// link is up, share one file dialog, and ignore a click while either of them runs.
//
// A save goes through QSaveFile: a failed save says so and leaves the old file as it was. A
// load reads the whole file and checks it before anything changes: a refused or unreadable
// file changes nothing, the unit's readiness included.

#include <QString>
#include <optional>

namespace korvanex {

class FileDialog;
class PageSet;
class Prompter;

namespace link {
class LinkEngine;
}

class ParameterFileHandlers {
public:
    ParameterFileHandlers(PageSet& pages, link::LinkEngine& link, Prompter& prompter,
                          FileDialog& dialog);
    ParameterFileHandlers(const ParameterFileHandlers&) = delete;
    ParameterFileHandlers& operator=(const ParameterFileHandlers&) = delete;

    // The whole-set download that follows a load.
    static constexpr int kDownloadStep = 53;

    void dcButton13_Click(); // save
    void dcButton14_Click(); // load

    // A save or load is running (under its dialog or a message box).
    bool busy() const { return busy_; }

private:
    // The refusal box when the link is down; true when it is up.
    bool linkUp();
    // Writes the file through QSaveFile; false on any failure, the old file then untouched.
    static bool writeFile(const QString& name, const QByteArray& bytes);
    void critical(const char* text, const char* title);

    PageSet& pages_;
    link::LinkEngine& link_;
    Prompter& prompter_;
    FileDialog& dialog_;
    bool busy_ = false;
};

} // namespace korvanex
