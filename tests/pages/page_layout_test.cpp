// The pages as a user sees them: nothing clipped or overlapping, every control named for
// screen readers, and each page's own controls in its grabbed picture.

#include "controls/colors.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "pages/page_base.h"
#include "pages/page_set.h"
#include "pages/page_state.h"
#include "pages/volume_frame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>

using namespace korvanex;

namespace {

class PageLayout : public ::testing::Test {
protected:
    void SetUp() override {
        QFont f(QStringLiteral("Noto Sans CJK SC"));
        f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei"),
                       QStringLiteral("SimSun")});
        f.setPointSize(9);
        QApplication::setFont(f);
        window.resize(1060, 600);
        pages = std::make_unique<PageSet>(&window);
    }

    QWidget window;
    std::unique_ptr<PageSet> pages;
};

// Widgets that the user sees on a page: shown (by their own flag and their parents') up to
// the page, leaves only (containers are checked through their children).
std::vector<QWidget*> shownLeaves(QWidget* root) {
    std::vector<QWidget*> out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->parentWidget() == nullptr)
            continue;
        const bool leaf = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                          qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                          qobject_cast<ctSlide*>(w) ||
                          w->metaObject()->className() == QByteArray("korvanex::LkSlide") ||
                          w->metaObject()->className() == QByteArray("korvanex::EQline");
        // Parts of composite controls are the composite's business.
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
            const QByteArray cls = p->metaObject()->className();
            if (qobject_cast<ctSlide*>(p) || qobject_cast<QComboBox*>(p) ||
                cls == "korvanex::LkSlide" || cls == "korvanex::EQline")
                inner = true;
        }
        if (leaf && !inner)
            out.push_back(w);
    }
    return out;
}

QRect inRoot(QWidget* w, QWidget* root) {
    return QRect(w->mapTo(root, QPoint(0, 0)), w->size());
}

QString where(QWidget* w) {
    QString name = w->accessibleName();
    if (auto* l = qobject_cast<QLabel*>(w))
        name = l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        name += QStringLiteral("/") + b->text();
    return QStringLiteral("%1 '%2'").arg(w->metaObject()->className(), name);
}

} // namespace

// Catches controls placed on top of each other or cut off by their page or group.
TEST_F(PageLayout, NoShownControlsOverlapOrLeaveTheirPage) {
    // Once with the echo group shown, once with the reverb group in its place.
    for (std::int16_t program : {0, 4}) {
        pages->state.EffectProgram = program;
        pages->showEffectProgram();
        for (std::size_t p = 0; p < pages->Picture1.size(); ++p) {
            QWidget* page = pages->Picture1[p];
            const auto leaves = shownLeaves(page);
            for (QWidget* w : leaves) {
                const QRect r = inRoot(w, page);
                EXPECT_TRUE(QRect(QPoint(0, 0), page->size()).contains(r))
                    << "page " << p << ": " << where(w).toStdString() << " leaves the page";
                QWidget* parent = w->parentWidget();
                EXPECT_TRUE(QRect(QPoint(0, 0), parent->size()).contains(w->geometry()))
                    << "page " << p << ": " << where(w).toStdString() << " cut by its parent";
                // The volume box stands over every page but the system page.
                if (p != 6) {
                    const QRect frame =
                        PageSet::frameGeometry().translated(-PageSet::pageGeometry().topLeft());
                    EXPECT_FALSE(frame.intersects(r))
                        << "page " << p << ": " << where(w).toStdString() << " under Frame1";
                }
            }
            for (std::size_t i = 0; i < leaves.size(); ++i)
                for (std::size_t j = i + 1; j < leaves.size(); ++j)
                    EXPECT_FALSE(inRoot(leaves[i], page).intersects(inRoot(leaves[j], page)))
                        << "page " << p << ": " << where(leaves[i]).toStdString() << " overlaps "
                        << where(leaves[j]).toStdString();
        }
    }
}

// Catches captions and read-outs too small for their text in the CJK font.
TEST_F(PageLayout, TextsFitTheirControls) {
    std::vector<QWidget*> roots(pages->Picture1.begin(), pages->Picture1.end());
    roots.push_back(pages->Frame1);
    for (QWidget* root : roots) {
        for (QLabel* l : root->findChildren<QLabel*>()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
            EXPECT_GE(l->height(), l->fontMetrics().height()) << l->text().toStdString();
        }
        for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 4)
                << b->text().toStdString();
        for (QLineEdit* e : root->findChildren<QLineEdit*>()) {
            if (e->parentWidget()->metaObject()->className() == QByteArray("korvanex::LkSlide"))
                continue;
            EXPECT_GE(e->width(), e->fontMetrics().horizontalAdvance(e->text()) + 6)
                << e->text().toStdString();
        }
    }
}

// Catches a read-out too narrow for the longest text its slider can give ("10.55KHz",
// "1001Hz", "0.775V"), which the design texts alone do not reach.
TEST_F(PageLayout, EveryReadoutTextFitsItsBox) {
    std::vector<QWidget*> roots(pages->Picture1.begin(), pages->Picture1.end());
    roots.push_back(pages->Frame1);
    for (QWidget* root : roots) {
        std::vector<QLineEdit*> boxes;
        for (QLineEdit* e : root->findChildren<QLineEdit*>())
            if (e->parentWidget()->metaObject()->className() != QByteArray("korvanex::LkSlide"))
                boxes.push_back(e);
        // The widest text each box shows while its slider goes through its whole range.
        std::map<QLineEdit*, QString> widest;
        for (ctSlide* s : root->findChildren<ctSlide*>()) {
            const int design = s->Value();
            for (int v = s->Min(); v <= s->Max(); ++v) {
                s->setValue(v);
                pages->showReadout(s);
                for (QLineEdit* e : boxes)
                    if (e->fontMetrics().horizontalAdvance(e->text()) >
                        e->fontMetrics().horizontalAdvance(widest[e]))
                        widest[e] = e->text();
            }
            s->setValue(design);
        }
        for (const auto& [e, text] : widest)
            EXPECT_GE(e->width(), e->fontMetrics().horizontalAdvance(text) + 6)
                << e->accessibleName().toStdString() << " " << text.toStdString();
    }
}

// Catches a control that a screen reader or UI automation could not name.
TEST_F(PageLayout, EveryControlHasAnAccessibleName) {
    std::vector<QWidget*> roots(pages->Picture1.begin(), pages->Picture1.end());
    roots.push_back(pages->Frame1);
    for (QWidget* root : roots) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus)
                continue;
            QString name = w->accessibleName();
            if (name.isEmpty())
                if (auto* b = qobject_cast<QAbstractButton*>(w))
                    name = b->text();
            EXPECT_FALSE(name.isEmpty())
                << w->metaObject()->className() << " on " << root->accessibleName().toStdString();
        }
    }
}

// Catches a page that does not show its own controls where they stand (covered, not drawn,
// the state colour lost), a hidden control showing, and the volume box over the system page.
// With KORVANEX_GRAB_DIR set, the pictures are also saved to look at.
TEST_F(PageLayout, GrabbedPagesShowTheirControls) {
    PageSet& p = *pages;
    window.show();
    const QColor plotBackground(20, 20, 20);
    struct Spot {
        int page; // 8: the effect page with the reverb group
        const char* what;
        QWidget* widget;
        QPoint offset;
        QColor colour; // what the control shows there
        bool shown = true;
    };
    std::vector<Spot> spots;
    const auto button = [&](int page, const char* what, dcButton* b) {
        spots.push_back({page, what, b, {b->width() / 2, 3}, colorFromBgr(b->BackColor())});
    };
    const auto box = [&](int page, const char* what, QWidget* t, bool enabled = true) {
        const QColor base =
            t->palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Base);
        spots.push_back({page, what, t, {4, t->height() / 2}, base});
    };
    const auto plot = [&](int page, EQline* g) {
        spots.push_back(
            {page, "graph", g, g->plotRect().topLeft().toPoint() + QPoint(5, 5), plotBackground});
    };
    const auto hidden = [&](int page, const char* what, QWidget* w, QColor wouldShow) {
        spots.push_back({page, what, w, w->rect().center(), wouldShow, false});
    };
    button(0, "AUTO", p.dcButton3[0]);
    button(0, "EXCITER", p.dcButton15);
    box(0, "Text19", p.Text19);
    button(0, "EQ reset", p.dcButton16);
    plot(0, p.EQline1);
    hidden(1, "feedback row", p.dcButton19[0], colorFromBgr(p.dcButton19[0]->BackColor()));
    box(1, "Text5", p.Text5);
    button(1, "EQ-BYPASS", p.dcButton20);
    plot(1, p.EQline2);
    box(2, "echo group", p.Text7[0]);
    box(2, "reverb cut disabled", p.Text2, false);
    box(2, "echo cut", p.Text6);
    plot(2, p.EQline3);
    box(8, "reverb group", p.Text8[0]);
    box(8, "reverb cut", p.Text2);
    box(3, "Text10", p.Text10);
    plot(3, p.EQline4);
    button(4, "effect into centre", p.dcButton27);
    box(4, "Text11(1)", p.Text11[1]);
    plot(4, p.EQline5);
    button(5, "phase", p.dcButton12);
    box(5, "Text12(1)", p.Text12[1]);
    plot(5, p.EQline6);
    button(6, "Lock", p.dcButton32);
    button(6, "Mute", p.dcButton31);
    button(6, "upload", p.dcButton13);
    hidden(6, "save button", p.dcButton4, colorFromBgr(p.dcButton4->BackColor()));
    box(6, "Text18", p.Text18);
    box(7, "Text21", p.Text21);
    button(7, "EQ reset", p.dcButton1);
    plot(7, p.EQline7);
    for (int page : {0, 1, 2, 3, 4, 5, 7, 8}) {
        box(page, "volume box over the page", p.Text1[0]);
    }

    const QString dir = qEnvironmentVariable("KORVANEX_GRAB_DIR");
    for (int page = 0; page < 9; ++page) {
        const std::size_t shown = page == 8 ? 2 : std::size_t(page);
        p.state.EffectProgram = page == 8 ? 4 : 0;
        p.showEffectProgram();
        for (std::size_t i = 0; i < p.Picture1.size(); ++i)
            p.Picture1[i]->setVisible(i == shown);
        p.Frame1->setVisible(shown != 6);
        const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            image.save(QStringLiteral("%1/page%2.png").arg(dir).arg(page));
        }
        for (const Spot& s : spots) {
            if (s.page != page)
                continue;
            const QPoint at = s.widget->mapTo(&window, s.offset);
            EXPECT_EQ(image.pixelColor(at) == s.colour, s.shown)
                << "page " << page << ": " << s.what << " at " << at.x() << "," << at.y() << " "
                << image.pixelColor(at).name().toStdString() << " / "
                << s.colour.name().toStdString();
        }
    }
}
