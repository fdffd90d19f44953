// Every window of the program, at its design size and with the fonts of the machine: no visible
// widget is smaller than its minimum size hint (a label cut, a field squashed) and no two
// visible widgets with the same parent overlap. Where a layout needs more room than the design
// size, the content scrolls at its minimum size, which passes; squashing does not.
#include "app/Motrix.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::application;

QString describe(const QWidget* w)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    return QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" \"") + text +
           QStringLiteral("\" ") + w->objectName();
}

// Visible children of parent that are part of its area (not windows or popups of their own).
QList<QWidget*> visibleChildren(const QWidget* parent)
{
    QList<QWidget*> result;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && w->isVisible())
            result.append(w);
    }
    return result;
}

// The faults found below root, one line each.
void collectFaults(const QWidget* root, QStringList& faults)
{
    const QList<QWidget*> children = visibleChildren(root);
    for (int i = 0; i < children.size(); ++i) {
        QWidget* w = children[i];
        const QSize hint = w->minimumSizeHint();
        if ((hint.width() > 0 && w->width() < hint.width()) ||
            (hint.height() > 0 && w->height() < hint.height()))
            faults << describe(w) + QStringLiteral(" is %1x%2, needs %3x%4")
                                        .arg(w->width())
                                        .arg(w->height())
                                        .arg(hint.width())
                                        .arg(hint.height());
        for (int j = i + 1; j < children.size(); ++j)
            if (w->geometry().intersects(children[j]->geometry()))
                faults << describe(w) + QStringLiteral(" overlaps ") + describe(children[j]);
        // A scroll area's viewport shows part of its content by design; the content itself is
        // checked against its own minimum above.
        collectFaults(w, faults);
    }
}

struct Program {
    QTemporaryDir dir;
    testsupport::FakeDialogs dialogs;
    app::Motrix motrix{dialogs, dir.path() + QStringLiteral("/")};
};

TEST(WindowLayout, EveryWindowAtItsDesignSizeShowsEveryWidgetWholeAndApart)
{
    application();
    Program program;
    for (const app::WindowInfo& info : app::windowTable) {
        forms::Window& window = program.motrix.windows()[info.id];
        window.resize(info.width, info.height);
        window.show();
        QApplication::processEvents();
        // A window opens at its design size, or as wide as its content needs.
        ASSERT_EQ(window.height(), info.height) << window.windowTitle().toStdString();
        ASSERT_GE(window.width(), info.width) << window.windowTitle().toStdString();
        ASSERT_TRUE(window.width() == info.width ||
                    window.width() == window.content()->minimumSizeHint().width())
            << window.windowTitle().toStdString();
        // Content taller than the window scrolls; none needs scrolling sideways.
        EXPECT_FALSE(window.scrollArea()->horizontalScrollBar()->isVisible())
            << window.windowTitle().toStdString();
        QStringList faults;
        collectFaults(&window, faults);
        EXPECT_TRUE(faults.isEmpty()) << window.windowTitle().toStdString() << ":\n"
                                      << faults.join(QLatin1Char('\n')).toStdString();
        window.hide();
    }
}

// The check itself: a squashed layout is found.
TEST(WindowLayout, ASquashedLabelIsFound)
{
    application();
    QWidget parent;
    auto* label = new QLabel(QStringLiteral("Triggerrad [Zähne inkl. Lücke]:"), &parent);
    auto* other = new QLabel(QStringLiteral("x"), &parent);
    label->setGeometry(0, 0, 40, 20);
    other->setGeometry(30, 0, 40, 20);
    parent.resize(100, 30);
    parent.show();
    QStringList faults;
    collectFaults(&parent, faults);
    ASSERT_EQ(faults.size(), 2) << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(faults[0].contains(QStringLiteral("is 40x20")));
    EXPECT_TRUE(faults[1].contains(QStringLiteral("overlaps")));
}

}  // namespace
