#include "pages/volume_frame.h"

#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "controls/window_font.h"
#include "pages/readouts.h"

#include <QLabel>

namespace korvanex {

VolumeFrame::VolumeFrame(QWidget* parent) : QGroupBox(QStringLiteral("音量控制"), parent) {
    setFont(windowFont());
    const std::array<const char*, 3> captions{"音乐", "话筒", "效果"};
    const int columnWidth = 48;
    const int left = 8;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int x = left + int(i) * (columnWidth + 2);
        const QString caption = QString::fromUtf8(captions[i]);
        Text1[i] = new TextBox(QStringLiteral("32"), this);
        Text1[i]->setGeometry(x + 4, 24, columnWidth - 8, 22);
        Text1[i]->setAlignment(Qt::AlignCenter);
        Text1[i]->setAccessibleName(caption);
        ctSlide1[i] = new ctSlide(0, 80, 32, Qt::Vertical, this);
        ctSlide1[i]->setGeometry(x, 50, columnWidth, 138);
        ctSlide1[i]->setAccessibleText(caption);
        Label3[i] = new QLabel(caption, this);
        Label3[i]->setAlignment(Qt::AlignCenter);
        Label3[i]->setGeometry(x, 190, columnWidth, 20);
        readouts.bind(ctSlide1[i], Text1[i], [](int v) { return ValueText(v); });
    }
}

} // namespace korvanex
