// Every window of the program, at its design size and with the fonts of the machine: the window
// opens at that size, its whole content is visible without scrolling, no visible widget is
// smaller than its minimum size hint (a label cut, a field squashed) and no two visible widgets
// with the same parent overlap. The help text keeps its explanations in their own column and the
// emergency notice shows its warning whole at its size.
#include "app/Motrix.h"
#include "support/FakeDialogs.h"
#include "support/TestApplication.h"

#include <QAbstractScrollArea>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTextTable>
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
        // A table's header reports the minimum of a scroll area (it is one), not of its row of
        // column titles; its titles are checked by nothing here.
        const QSize hint = qobject_cast<QHeaderView*>(w) ? QSize() : w->minimumSizeHint();
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

// Widgets below root that reach outside the window's visible area.
void collectOutside(const QWidget* window, const QWidget* root, QStringList& faults)
{
    for (QWidget* w : visibleChildren(root)) {
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!window->rect().contains(r))
            faults << describe(w) + QStringLiteral(" lies outside the window at %1,%2 %3x%4")
                                        .arg(r.x())
                                        .arg(r.y())
                                        .arg(r.width())
                                        .arg(r.height());
        else
            collectOutside(window, w, faults);
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
        const std::string title = window.windowTitle().toStdString();
        EXPECT_EQ(window.size(), QSize(info.width, info.height)) << title;
        // The whole content fits: no scroll bar, every widget inside the window.
        EXPECT_FALSE(window.scrollArea()->horizontalScrollBar()->isVisible()) << title;
        EXPECT_FALSE(window.scrollArea()->verticalScrollBar()->isVisible()) << title;
        QStringList faults;
        collectFaults(&window, faults);
        collectOutside(&window, &window, faults);
        EXPECT_TRUE(faults.isEmpty()) << title << ":\n"
                                      << faults.join(QLatin1Char('\n')).toStdString();
        window.hide();
    }
}

// Every explanation of the help text, wrapped or not, starts right of the widest key, and some
// do wrap at the design width (so the check sees wrapped lines).
TEST(WindowLayout, HelpExplanationsWrapInsideTheirColumn)
{
    application();
    Program program;
    forms::Window& window = program.motrix.windows()[app::WindowId::Help];
    window.resize(window.info().width, window.info().height);
    window.show();
    QApplication::processEvents();
    auto* edit = window.content()->findChild<QTextEdit*>();
    ASSERT_NE(edit, nullptr);
    QTextDocument* doc = edit->document();
    QTextTable* table = nullptr;
    for (QTextFrame* frame : doc->rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(frame)))
            break;
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columns(), 2);
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    double keysRight = 0;
    for (int r = 0; r < table->rows(); ++r) {
        const QTextBlock key = table->cellAt(r, 0).firstCursorPosition().block();
        const QTextLine line = key.layout()->lineAt(0);
        keysRight =
            std::max(keysRight, layout->blockBoundingRect(key).left() + line.naturalTextWidth());
        EXPECT_EQ(key.layout()->lineCount(), 1) << key.text().toStdString();
    }
    int wrapped = 0;
    for (int r = 0; r < table->rows(); ++r) {
        const QTextBlock text = table->cellAt(r, 1).firstCursorPosition().block();
        const QRectF box = layout->blockBoundingRect(text);
        wrapped += text.layout()->lineCount() > 1;
        for (int n = 0; n < text.layout()->lineCount(); ++n)
            EXPECT_GT(box.left() + text.layout()->lineAt(n).x(), keysRight)
                << text.text().toStdString() << " line " << n;
        EXPECT_LE(box.right(), edit->viewport()->width()) << text.text().toStdString();
    }
    EXPECT_GT(wrapped, 0);
    EXPECT_FALSE(edit->horizontalScrollBar()->isVisible());
}

TEST(WindowLayout, EmergencyNoticeShowsItsWarningWholeAtItsSize)
{
    application();
    Program program;
    QWidget& notice = program.motrix.emergencyNotice().window();
    notice.show();
    QApplication::processEvents();
    EXPECT_EQ(notice.size(), QSize(205, 80));
    QStringList faults;
    collectFaults(&notice, faults);
    collectOutside(&notice, &notice, faults);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    const QLabel* warning = program.motrix.emergencyNotice().form().warning;
    EXPECT_GE(warning->width(), warning->fontMetrics().horizontalAdvance(warning->text()));
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
