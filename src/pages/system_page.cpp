#include "pages/system_page.h"

#include "controls/colors.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "pages/readouts.h"
#include "pages/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace korvanex {

namespace {

// Places the members of an option array in a grid of `columns`, below (0, top).
void gridOptions(OptionGroup* options, int top, int columns, int columnWidth,
                 const QString& caption) {
    for (int i = 0; i < options->count(); ++i) {
        QRadioButton* b = options->button(i);
        b->setGeometry(i % columns * columnWidth, top + i / columns * 24, columnWidth - 4, 22);
        b->setAccessibleDescription(caption);
    }
    options->setValue(0, true);
}

} // namespace

SystemPage::SystemPage(QWidget* parent) : PageBase(parent) {
    const int top = twips(2040);
    const int height = twips(4335);
    const std::array<QRect, 3> places{QRect(16, top, 300, height), QRect(332, top, 340, height),
                                      QRect(688, top, 337, height)};
    const std::array<const char*, 3> titles{"", "开机模式管理", "音量限制"};
    for (std::size_t i = 0; i < Shape1.size(); ++i) {
        Shape1[i] = new QGroupBox(QString::fromUtf8(titles[i]), this);
        Shape1[i]->setGeometry(places[i]);
    }

    // Left: key lock, mute, data transfer, save mode.
    QGroupBox* left = Shape1[0];
    auto* lockLabel = labelAt(QStringLiteral("是否锁定键盘"), 16, 26, left);
    dcButton32 = new dcButton(QStringLiteral("Lock"), left);
    dcButton32->setGeometry(170, 22, 90, 26);
    dcButton32->setLabel(lockLabel->text());
    dcButton32->setOnColours({kColorOn});
    auto* muteLabel = labelAt(QStringLiteral("是否静音"), 16, 66, left);
    dcButton31 = new dcButton(QStringLiteral("Mute"), left);
    dcButton31->setGeometry(170, 62, 90, 26);
    dcButton31->setLabel(muteLabel->text());
    dcButton31->setOnColours({kColorOn});
    auto* dataLabel = labelAt(QStringLiteral("数据保存/调用"), 16, 106, left);
    dcButton13 = new dcButton(QStringLiteral("上传数据到电脑"), left);
    dcButton13->setGeometry(16, 128, 128, 28);
    dcButton13->setAccessibleDescription(dataLabel->text());
    dcButton14 = new dcButton(QStringLiteral("导出数据到设备"), left);
    dcButton14->setGeometry(152, 128, 128, 28);
    dcButton14->setAccessibleDescription(dataLabel->text());

    Picture3 = new QWidget(left);
    Picture3->setGeometry(16, 176, 268, 96);
    auto* saveLabel = labelAt(QStringLiteral("当前数据保存方式："), 0, 0, Picture3);
    Option5 = new OptionGroup({"自动保存", "手动保存"}, Picture3);
    gridOptions(Option5, 24, 2, 110, saveLabel->text());
    dcButton4 = new dcButton(QStringLiteral("保存"), Picture3);
    dcButton4->setGeometry(0, 56, 90, 28);
    dcButton4->hide();
    connect(Option5, &OptionGroup::Click, this, &SystemPage::showSaveMode);

    // Middle: the modes the unit starts in.
    struct ModeGroup {
        const char* caption;
        QStringList items;
        int columns;
        OptionGroup** options;
    };
    const std::array<ModeGroup, 3> modes{{
        {"音乐模式", {"Music1", "Music2", "Music3", "Music4", "Music5", "Music6"}, 3, &Option2},
        {"话筒模式", {"MIC1", "MIC2", "MIC3", "MIC4", "MIC5", "MIC6"}, 3, &Option3},
        {"效果模式", {"KTV1", "KTV2", "KTV3", "KTV4", "EFF1", "EFF2", "EFF3", "EFF4"}, 4, &Option4},
    }};
    for (std::size_t i = 0; i < modes.size(); ++i) {
        Picture2[i] = new QWidget(Shape1[1]);
        Picture2[i]->setGeometry(16, 28 + int(i) * 84, 312, 74);
        auto* caption = labelAt(QString::fromUtf8(modes[i].caption), 0, 0, Picture2[i]);
        *modes[i].options = new OptionGroup(modes[i].items, Picture2[i]);
        gridOptions(*modes[i].options, 22, modes[i].columns, 312 / modes[i].columns,
                    caption->text());
    }

    // Right: power-on and maximum volumes, one line each: caption, read-out, slider, the
    // read-out before its slider as on every other page.
    struct LimitRow {
        const char* caption;
        int value;
        ctSlide** slider;
        TextBox** box;
    };
    const std::array<LimitRow, 6> limits{{{"音乐开机音量：", 32, &ctSlide13, &Text13},
                                          {"音乐最大音量：", 80, &ctSlide14, &Text14},
                                          {"话筒开机音量：", 32, &ctSlide15, &Text15},
                                          {"话筒最大音量：", 80, &ctSlide16, &Text16},
                                          {"效果开机音量：", 32, &ctSlide17, &Text17},
                                          {"效果最大音量：", 80, &ctSlide18, &Text18}}};
    QGroupBox* right = Shape1[2];
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const int y = 30 + int(i) * 42;
        auto* l = labelAt(QString::fromUtf8(limits[i].caption), 12, y + 2, right);
        *limits[i].box = readout(ValueText(limits[i].value), l->text(), right);
        (*limits[i].box)->setGeometry(112, y + 1, 48, 22);
        *limits[i].slider = slider(0, 80, limits[i].value, l->text(), right);
        (*limits[i].slider)->setGeometry(170, y, 152, 24);
        readouts.bind(*limits[i].slider, *limits[i].box, [](int v) { return ValueText(v); });
    }
}

void SystemPage::showSaveMode() {
    dcButton4->setVisible(Option5->Value(1));
}

} // namespace korvanex
