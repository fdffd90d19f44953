// The field binding of the take-over rule: every field is read before the rules over several
// fields run, every field then shows what was stored, and only bound fields start it; and the
// centring of windows.
#include "app/core/WindowTable.h"
#include "forms/FieldBinding.h"
#include "forms/Window.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

void loseFocus(QWidget* w)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &out);
}

struct Fixture {
    forms::Window window{app::windowInfo(app::WindowId::Learn)};
    QLineEdit* low = new QLineEdit;
    QLineEdit* high = new QLineEdit;
    QLineEdit* unbound = new QLineEdit;
    int lowValue = 0;
    int highValue = 0;
    QStringList steps;
    forms::FieldBinding fields{window, {app::FieldMenuEvent::TakeOver}};

    Fixture()
    {
        auto* layout = new QVBoxLayout(window.content());
        for (QLineEdit* f : {low, high, unbound})
            layout->addWidget(f);
        const auto bind = [this](QLineEdit* field, int& value, const char* name) {
            fields.bind(
                field,
                [this, &value, name](const QString& text) {
                    value = text.toInt();
                    steps << QStringLiteral("read ") + QLatin1String(name);
                },
                [&value] { return QString::number(value); });
        };
        bind(low, lowValue, "low");
        bind(high, highValue, "high");
        // A rule over two fields: limits typed the wrong way round are swapped.
        fields.setAfterRead([this] {
            steps << QStringLiteral("rules");
            if (highValue < lowValue)
                std::swap(lowValue, highValue);
        });
        fields.setAfterShow([this] { steps << QStringLiteral("shown ") + low->text(); });
    }
};

TEST(FieldBinding, ReadsAllThenAppliesTheRulesThenShowsWhatWasStored)
{
    application();
    Fixture fx;
    fx.low->setText("50");
    fx.high->setText("30");
    loseFocus(fx.high);
    EXPECT_EQ(fx.steps, QStringList({"read low", "read high", "rules", "shown 30"}));
    EXPECT_EQ(fx.low->text(), "30");
    EXPECT_EQ(fx.high->text(), "50");

    fx.steps.clear();
    emit fx.window.menuEvent(1);
    EXPECT_EQ(fx.steps.size(), 4);
    fx.steps.clear();
    loseFocus(fx.unbound);
    emit fx.window.menuEvent(2);
    EXPECT_TRUE(fx.steps.isEmpty());
    EXPECT_TRUE(fx.fields.isBound(fx.low));
    EXPECT_FALSE(fx.fields.isBound(fx.unbound));
}

TEST(WindowOpening, FillsOnlyAHiddenWindowAndCentresItsFrame)
{
    application();
    forms::Window window(app::windowInfo(app::WindowId::Learn));
    int fills = 0;
    window.setFiller([&] { ++fills; });
    window.open();
    window.open();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(fills, 1);
    window.hide();
    window.open();
    EXPECT_EQ(fills, 2);

    EXPECT_EQ(forms::Window::centredTopLeft(QRect(0, 0, 1920, 1080), QSize(830, 755)),
              QPoint(545, 162));
    EXPECT_EQ(forms::Window::centredTopLeft(QRect(100, 50, 800, 600), QSize(600, 400)),
              QPoint(200, 150));
    window.setWindowState(Qt::WindowMinimized);
    window.centreOn(QRect(100, 50, 800, 600));
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(window.frameGeometry().center(), QRect(100, 50, 800, 600).center());
}

}  // namespace
