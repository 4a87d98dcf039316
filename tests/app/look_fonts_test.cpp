// The window at the desktop font sizes Linux users have (9, 11 and 14 pt; run again by ctest at
// device pixel ratio 2), in its start state, with the link up and after each state button's
// colour changes: every text fits its control, nothing overlaps, and the window looks the same
// whatever the desktop's size, since its layout and fonts are fixed in pixels.
// With KORVANEX_GRAB_DIR set, the pages are saved there to look at.

#include "app/form_helpers.h"
#include "app/tab_strip.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>
#include <gtest/gtest.h>

using korvanex::Form1;
using korvanex::testing::FormHarness;
using namespace korvanex;

namespace {

// Pages 0..7, and 8: the effect page with the reverb group in place of the echo group.
constexpr int kPageShots = 9;

void showPage(Form1& form, int shot) {
    form.pageSet().state.EffectProgram = shot == 8 ? 4 : 0;
    form.pageSet().showEffectProgram();
    form.Image1_Click(shot == 8 ? 2 : shot);
}

// The window built under a desktop font of `points`, shown.
struct WindowAt {
    explicit WindowAt(int points) : saved(QApplication::font()) {
        QFont desktop = saved;
        desktop.setPointSize(points);
        QApplication::setFont(desktop);
        harness = std::make_unique<FormHarness>();
        harness->form->show();
    }
    ~WindowAt() {
        harness.reset();
        QApplication::setFont(saved);
    }
    Form1& form() { return *harness->form; }

    QFont saved;
    std::unique_ptr<FormHarness> harness;
};

// Calls `look` in each state a working day leaves the state buttons in: the start, the link up,
// then each state button clicked, on and off where its colour changes (mute and lock change
// only with the link up, so they come after the connection).
void walkStates(WindowAt& at, const std::function<void(const std::string& state)>& look) {
    look("start");
    at.harness->connect();
    ASSERT_TRUE(at.form().engine().LinkUp());
    look("connected");
    PageSet& p = at.form().pageSet();
    const std::vector<std::pair<const char*, dcButton*>> clicks{
        {"BGM", p.dcButton3[1]},           {"AUX", p.dcButton3[2]},
        {"AUTO", p.dcButton3[0]},          {"feedback 2", p.dcButton19[2]},
        {"feedback OFF", p.dcButton19[0]}, {"mute on", p.dcButton31},
        {"mute off", p.dcButton31},        {"lock on", p.dcButton32},
        {"lock off", p.dcButton32}};
    for (const auto& [what, button] : clicks) {
        const std::uint32_t before = button->BackColor();
        button->click();
        at.harness->run(200); // the request answered, as the user would wait
        ASSERT_NE(button->BackColor(), before) << what;
        look(std::string("after ") + what);
    }
}

bool isComposite(const QWidget* w) {
    return qobject_cast<const ctSlide*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const LkSlide*>(w) || qobject_cast<const EQline*>(w) ||
           qobject_cast<const TabImage*>(w);
}

// What the user sees as one control: shown, not a part of a composite control.
std::vector<QWidget*> shownControls(QWidget& window) {
    std::vector<QWidget*> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p != &window; p = p->parentWidget())
            inner = inner || isComposite(p);
        const bool leaf = isComposite(w) || qobject_cast<QLabel*>(w) ||
                          qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w);
        if (leaf && !inner)
            out.push_back(w);
    }
    return out;
}

QString describe(const QWidget* w) {
    QString text = w->accessibleName();
    if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        text = e->text();
    return QStringLiteral("%1 '%2'").arg(QString::fromLatin1(w->metaObject()->className()), text);
}

// Room the control needs around its text: frame and padding of the window's controls.
int textRoom(const QWidget* w) {
    if (qobject_cast<const dcButton*>(w))
        return 10; // 1 px border and 4 px padding each side
    if (w->parentWidget() && qobject_cast<const LkSlide*>(w->parentWidget()))
        return 2; // the strip's boxes: a 1 px border, no margins
    if (qobject_cast<const QLineEdit*>(w))
        return 6;
    return 0;
}

// Every text of the shown controls inside its control, and for the read-outs every text their
// slider can give.
void expectTextsFit(QWidget& window, const std::string& where) {
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        const QFontMetrics m = w->fontMetrics();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_GE(l->contentsRect().width(), m.horizontalAdvance(l->text()))
                << where << describe(w).toStdString();
            EXPECT_GE(l->height(), m.height()) << where << describe(w).toStdString();
        } else if (auto* r = qobject_cast<QRadioButton*>(w)) {
            EXPECT_GE(r->width(), r->sizeHint().width()) << where << describe(w).toStdString();
            EXPECT_GE(r->height(), m.height()) << where << describe(w).toStdString();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            EXPECT_GE(b->width(), m.horizontalAdvance(b->text()) + textRoom(b))
                << where << describe(w).toStdString();
            EXPECT_GE(b->height(), m.height() + 4) << where << describe(w).toStdString();
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            EXPECT_GE(e->width(), m.horizontalAdvance(e->text()) + textRoom(e))
                << where << describe(w).toStdString();
            // The ink of the text, which the box centres on its line.
            EXPECT_GE(e->height(), m.tightBoundingRect(e->text()).height() + 2)
                << where << describe(w).toStdString();
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            EXPECT_GE(c->width(), c->sizeHint().width()) << where << describe(w).toStdString();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            EXPECT_GE(g->width(), m.horizontalAdvance(g->title()) + 16)
                << where << describe(w).toStdString();
        }
    }
}

void expectButtonsInWindowType(Form1& form, const std::string& where) {
    for (const dcButton* b : form.findChildren<dcButton*>())
        EXPECT_EQ(b->font(), form.font()) << where << " " << describe(b).toStdString();
}

void expectReadoutsFitEveryValue(Form1& form, const std::string& where) {
    PageSet& p = form.pageSet();
    for (ctSlide* s : form.findChildren<ctSlide*>()) {
        const int design = s->Value();
        for (int v = s->Min(); v <= s->Max(); ++v) {
            s->setValue(v);
            p.showReadout(s);
            for (QLineEdit* e : form.findChildren<QLineEdit*>()) {
                if (!qobject_cast<LkSlide*>(e->parentWidget())) {
                    ASSERT_GE(e->width(), e->fontMetrics().horizontalAdvance(e->text()) + 6)
                        << where << e->accessibleName().toStdString() << " "
                        << e->text().toStdString();
                }
            }
        }
        s->setValue(design);
        p.showReadout(s);
    }
}

void expectNoOverlaps(QWidget& window, const std::string& where) {
    const std::vector<QWidget*> shown = shownControls(window);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QRect a(shown[i]->mapTo(&window, QPoint(0, 0)), shown[i]->size());
        EXPECT_TRUE(window.rect().contains(a)) << where << describe(shown[i]).toStdString();
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const QRect b(shown[j]->mapTo(&window, QPoint(0, 0)), shown[j]->size());
            EXPECT_FALSE(a.intersects(b)) << where << describe(shown[i]).toStdString()
                                          << " overlaps " << describe(shown[j]).toStdString();
        }
    }
}

QImage grabPage(Form1& form, int shot, int points, const std::string& state) {
    showPage(form, shot);
    const QImage image = form.grab().toImage();
    const QString dir = qEnvironmentVariable("KORVANEX_GRAB_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        image.save(
            QStringLiteral("%1/window_%2pt_x%3_%4_page%5.png")
                .arg(dir)
                .arg(points)
                .arg(form.devicePixelRatio())
                .arg(QString::fromStdString(state).replace(QLatin1Char(' '), QLatin1Char('_')))
                .arg(shot));
    }
    return image;
}

class DesktopFontSize : public ::testing::TestWithParam<int> {};

} // namespace

// Catches texts clipped by their controls and captions running into them at a desktop size:
// fonts that follow the desktop's points instead of the layout's pixels, also those a button
// takes when its colour changes ("AUTO" cut to "AUTC" once the link is up).
TEST_P(DesktopFontSize, EveryTextFitsAndNothingOverlaps) {
    WindowAt at(GetParam());
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    if (!scale.isEmpty()) {
        ASSERT_EQ(at.form().devicePixelRatio(), scale.toDouble());
    }
    walkStates(at, [&](const std::string& state) {
        for (int shot = 0; shot < kPageShots; ++shot) {
            showPage(at.form(), shot);
            const std::string where = std::to_string(GetParam()) + " pt, " + state + ", page " +
                                      std::to_string(shot) + ": ";
            expectTextsFit(at.form(), where);
            expectNoOverlaps(at.form(), where);
        }
        expectButtonsInWindowType(at.form(), state);
    });
    expectReadoutsFitEveryValue(at.form(), std::to_string(GetParam()) + " pt: ");
    // The desktop's font changing under the open window changes none of its type either.
    QFont larger = QApplication::font();
    larger.setPointSize(GetParam() + 4);
    QApplication::setFont(larger);
    expectButtonsInWindowType(at.form(), "desktop font changed");
}

INSTANTIATE_TEST_SUITE_P(Points, DesktopFontSize, ::testing::Values(9, 11, 14));

// Catches any control whose look follows the desktop's font size, from the start or from a
// colour change on: in every state, the pages grabbed under a 11 and a 14 pt desktop are the
// pages grabbed under 9 pt, pixel for pixel.
TEST(DesktopFontSizes, WindowLooksTheSameAtEveryDesktopSize) {
    std::vector<QImage> reference;
    {
        WindowAt at(9);
        walkStates(at, [&](const std::string& state) {
            for (int shot = 0; shot < kPageShots; ++shot)
                reference.push_back(grabPage(at.form(), shot, 9, state));
        });
    }
    for (int points : {11, 14}) {
        WindowAt at(points);
        std::size_t next = 0;
        walkStates(at, [&](const std::string& state) {
            for (int shot = 0; shot < kPageShots; ++shot, ++next) {
                ASSERT_LT(next, reference.size());
                EXPECT_TRUE(grabPage(at.form(), shot, points, state) == reference[next])
                    << points << " pt, " << state << ", page " << shot;
            }
        });
    }
}
