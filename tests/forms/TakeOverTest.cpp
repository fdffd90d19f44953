// The shared take-over of input fields: which events start it and that it never runs nested.
#include "app/core/WindowTable.h"
#include "forms/TakeOver.h"
#include "forms/Window.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

struct Fixture {
    forms::Window window{app::windowInfo(app::WindowId::System)};
    QLineEdit* first = new QLineEdit;
    QLineEdit* second = new QLineEdit;
    QLineEdit* display = new QLineEdit;
    int calls = 0;
    forms::TakeOver takeOver{[this] { ++calls; }};

    Fixture()
    {
        auto* layout = new QVBoxLayout(window.content());
        layout->addWidget(first);
        layout->addWidget(second);
        display->setReadOnly(true);
        layout->addWidget(display);
        takeOver.watchFields(window.content());
    }
};

void loseFocus(QWidget* w, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(w, &out);
}

TEST(TakeOver, RunsWhenAnyEditableFieldLosesFocus)
{
    application();
    Fixture f;
    loseFocus(f.first);
    loseFocus(f.second);
    EXPECT_EQ(f.calls, 2);
    // Read-only fields only show values; a popup menu takes the focus only for a moment.
    loseFocus(f.display);
    loseFocus(f.first, Qt::PopupFocusReason);
    EXPECT_EQ(f.calls, 2);
}

TEST(TakeOver, RunsOnTheListedMenuEventsOnly)
{
    application();
    Fixture f;
    f.takeOver.listenTo(f.window,
                        {app::FieldMenuEvent::TakeOver, app::FieldMenuEvent::TakeOverKeypad});
    emit f.window.menuEvent(1);
    emit f.window.menuEvent(2);
    emit f.window.menuEvent(3);
    EXPECT_EQ(f.calls, 2);

    Fixture returnOnly;
    returnOnly.takeOver.listenTo(returnOnly.window, {app::FieldMenuEvent::TakeOver});
    emit returnOnly.window.menuEvent(2);
    emit returnOnly.window.menuEvent(1);
    EXPECT_EQ(returnOnly.calls, 1);
}

TEST(TakeOver, FocusLostDuringATakeOverDoesNotStartAnother)
{
    application();
    forms::Window window(app::windowInfo(app::WindowId::Learn));
    auto* field = new QLineEdit(window.content());
    int calls = 0;
    forms::TakeOver* self = nullptr;
    forms::TakeOver takeOver([&] {
        ++calls;
        EXPECT_TRUE(self->running());
        // A message box shown now would take the focus from the field.
        loseFocus(field, Qt::ActiveWindowFocusReason);
    });
    self = &takeOver;
    takeOver.watchField(field);
    loseFocus(field);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(takeOver.running());
    takeOver.run();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(takeOver.runs(), 2);
}

}  // namespace
