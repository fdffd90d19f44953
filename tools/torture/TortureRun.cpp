// The torture run over every window of the program.
#include "TortureRun.h"

#include "HostileTexts.h"
#include "InputFields.h"
#include "StoredValues.h"

#include "app/Motrix.h"
#include "unattended/UnattendedDialogs.h"
#include "app/core/WindowTable.h"
#include "logger/LogTable.h"
#include "setup/SetupFields.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextEdit>
#include <cstdio>

namespace torture {
namespace {

enum class Method { Return, KeypadEnter, Tab, ClickOther, OtherWindow };
constexpr int methodCount = 5;

const char* methodName(Method m)
{
    switch (m) {
    case Method::Return: return "Return";
    case Method::KeypadEnter: return "Enter";
    case Method::Tab: return "Tab";
    case Method::ClickOther: return "click elsewhere";
    case Method::OtherWindow: return "other window";
    }
    return "";
}

QWidget* target(const InputField& f)
{
    return f.edit ? static_cast<QWidget*>(f.edit.data()) : f.widget.data();
}

void settle()
{
    QCoreApplication::processEvents();
}

void activate(QWidget* window)
{
    QApplication::setActiveWindow(window);
    if (!window->isActiveWindow())
        (void)QTest::qWaitForWindowActive(window, 200);
}

// Printable ASCII of a sensible length is typed key by key; anything else arrives as a paste
// does (control characters, direction marks and surrogates cannot be typed on a keyboard).
bool typeable(const QString& text)
{
    if (text.size() > 60)
        return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f)
            return false;
    return true;
}

void focusField(const InputField& f)
{
    QWidget* t = target(f);
    if (!t->hasFocus())
        QTest::mouseClick(t, Qt::LeftButton, {}, QPoint(3, t->height() / 2));
    if (!t->hasFocus())
        t->setFocus(Qt::MouseFocusReason);
    settle();
}

void type(const InputField& f, const QString& text)
{
    focusField(f);
    if (f.edit) {
        f.edit->selectAll();
        if (typeable(text) && !text.isEmpty())
            QTest::keyClicks(f.edit, text);
        else if (text.isEmpty())
            QTest::keyClick(f.edit, Qt::Key_Delete);
        else
            f.edit->insert(text);  // what Ctrl+V does with the clipboard's text
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(f.widget.data())) {
        p->selectAll();
        p->insertPlainText(text);
    } else if (auto* t = qobject_cast<QTextEdit*>(f.widget.data())) {
        t->selectAll();
        t->insertPlainText(text);
    }
    settle();
}

class Runner {
public:
    Runner(const Options& o, app::Motrix& m, app::UnattendedDialogs& d, Figures& fig)
        : m_options(o), m_motrix(m), m_dialogs(d), m_figures(fig), m_random(o.seed)
    {
    }

    void window(app::WindowId id)
    {
        forms::Window& w = m_motrix.windows()[id];
        const QString name =
            QString::fromUtf16(app::windowInfo(id).titleSuffix).mid(3);  // after " - "
        if (!m_options.onlyWindow.isEmpty() && !name.startsWith(m_options.onlyWindow))
            return;
        w.open();
        activate(&w);
        settle();
        QList<InputField> fields = findInputFields(w.content(), name);
        // Buttons that take typed or measured values over ("Werte übernehmen").
        m_takeButtons.clear();
        for (QPushButton* b : w.content()->findChildren<QPushButton*>())
            if (b->text().contains(QStringLiteral("bernehmen"), Qt::CaseInsensitive))
                m_takeButtons << b;
        m_figures.fieldsPerWindow[name] = int(fields.size());
        for (const InputField& f : fields)
            m_figures.fields << f.label();
        const QStringList& fixed = fixedHostileTexts();
        for (int i = 0; i < fields.size(); ++i) {
            QStringList texts;
            if (m_options.fixedPerField < 0) {
                texts = fixed;
            } else {
                // A different slice of the fixed list for each field, all of it over a window.
                for (int k = 0; k < m_options.fixedPerField; ++k)
                    texts << fixed[(i * m_options.fixedPerField + k) % fixed.size()];
            }
            for (int k = 0; k < m_options.randomPerField; ++k)
                texts << m_random.next();
            for (const QString& text : texts)
                torture(w, fields, i, text);
            if (m_options.verbose)
                std::fprintf(stderr, "%s: %d texts\n", qPrintable(fields[i].label()),
                             int(texts.size()));
        }
        if (id == app::WindowId::Main)
            mapValues(w);
        if (id != app::WindowId::Main)
            w.hide();
        settle();
    }

private:
    void torture(forms::Window& w, QList<InputField>& fields, int index, const QString& text)
    {
        const InputField& f = fields[index];
        if (!f.widget || !target(f)->isVisible())
            return;
        const auto method = Method(m_random.below(methodCount));
        m_baseline = rangeFaults(m_motrix);
        type(f, text);
        ++m_figures.textsTyped;
        takeOver(method, w, fields, index);
        check(fields, index, text, method);
        for (QPushButton* b : m_takeButtons) {
            if (!b->isEnabled())
                continue;
            QTest::mouseClick(b, Qt::LeftButton);
            settle();
            ++m_figures.buttonClicks;
            for (const QString& line : newRangeFaults(text))
                fault(f, text, method, QStringLiteral("after \"%1\": %2").arg(b->text(), line));
        }
        // Leaving the field takes over in every window (text fields of some windows only then).
        if (target(f)->hasFocus()) {
            QTest::keyClick(target(f), Qt::Key_Tab);
            settle();
            ++m_figures.takeOvers;
            check(fields, index, text, Method::Tab);
        }
        // Taking over again without typing must change nothing: the shown text reads back.
        const Snapshot before = snapshot(m_motrix);
        const QStringList shown = texts(fields);
        focusField(f);
        QTest::keyClick(target(f), Qt::Key_Return);
        QTest::keyClick(target(f), Qt::Key_Tab);
        settle();
        m_figures.takeOvers += 2;
        const QStringList drifted = differences(before, snapshot(m_motrix));
        if (!drifted.isEmpty())
            fault(
                f, text, method,
                QStringLiteral("a second take-over changes ") + drifted.join(QStringLiteral(", ")));
        const QStringList shownAgain = texts(fields);
        // Trailing blanks aside: Return pads the setup description to its file width.
        const auto trimmed = [](QString t) {
            while (t.endsWith(QLatin1Char(' ')))
                t.chop(1);
            return t;
        };
        for (int k = 0; k < fields.size(); ++k)
            if (k < shown.size() && trimmed(shown[k]) != trimmed(shownAgain[k]))
                fault(fields[k], text, method,
                      QStringLiteral("shown text %1 reads back as %2")
                          .arg(printable(shown[k]), printable(shownAgain[k])));
    }

    void takeOver(Method method, forms::Window& w, const QList<InputField>& fields, int index)
    {
        QWidget* t = target(fields[index]);
        switch (method) {
        case Method::Return: QTest::keyClick(t, Qt::Key_Return); break;
        case Method::KeypadEnter: QTest::keyClick(t, Qt::Key_Enter, Qt::KeypadModifier); break;
        case Method::Tab: QTest::keyClick(t, Qt::Key_Tab); break;
        case Method::ClickOther:
            if (fields.size() > 1)
                focusField(fields[(index + 1) % fields.size()]);
            else
                t->clearFocus();
            break;
        case Method::OtherWindow: {
            forms::Window& other = &w == &m_motrix.windows()[app::WindowId::Main]
                                       ? m_motrix.windows()[app::WindowId::System]
                                       : m_motrix.windows()[app::WindowId::Main];
            const bool wasShown = other.isVisible();
            other.show();
            activate(&other);
            settle();
            if (!wasShown)
                other.hide();
            activate(&w);
            break;
        }
        }
        settle();
        ++m_figures.takeOvers;
    }

    void check(const QList<InputField>& fields, int index, const QString& text, Method method)
    {
        for (const QString& line : newRangeFaults(text))
            fault(fields[index], text, method, line);
        for (const InputField& f : fields)
            if (f.numeric && f.widget && !isPlainNumber(f.text()))
                fault(f, text, method,
                      QStringLiteral("number field shows %1").arg(printable(f.text())));
    }

    // The map editor's typed value (F5, then F9 with the text in the input box).
    void mapValues(forms::Window& main)
    {
        activate(&main);
        main.setFocus();
        QTest::keyClick(&main, Qt::Key_F5);
        QStringList texts = fixedHostileTexts();
        for (int k = 0; k < m_options.randomPerField * 4; ++k)
            texts << m_random.next();
        for (const QString& text : texts) {
            // A random cell: arrow keys move the cursor.
            const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            for (int k = m_random.below(6); k > 0; --k)
                QTest::keyClick(&main, keys[m_random.below(4)]);
            const auto before = m_motrix.setupRecord().injectionMap;
            m_baseline = rangeFaults(m_motrix);
            m_dialogs.answerInput(text);
            QTest::keyClick(&main, Qt::Key_F9);
            settle();
            ++m_figures.mapValuesTyped;
            static const QRegularExpression digit(QStringLiteral("\\d"));
            if (!text.contains(digit) && m_motrix.setupRecord().injectionMap != before)
                m_figures.faults << QStringLiteral(
                                        "Einspritzkennfeld: %1 without a number "
                                        "changed a cell")
                                        .arg(printable(text));
            for (const QString& line : newRangeFaults(text))
                m_figures.faults
                    << QStringLiteral("Einspritzkennfeld %1: %2").arg(printable(text), line);
        }
        QTest::keyClick(&main, Qt::Key_Escape);
        // The expert password box answered with hostile texts as well.
        for (const QString& text : fixedHostileTexts()) {
            m_dialogs.answerInput(text);
            QTest::keyClick(&main, Qt::Key_E, Qt::ControlModifier | Qt::AltModifier);
            settle();
        }
        m_motrix.windows()[app::WindowId::Expert].hide();
    }

    // Range faults that were not there before the text was typed. A text that is not valid
    // UTF-16 itself (a lone surrogate, which no keyboard or clipboard delivers) may stay as
    // typed; only a character the program cuts in half counts.
    QStringList newRangeFaults(const QString& text) const
    {
        QStringList out;
        for (const QString& line : rangeFaults(m_motrix))
            if (!m_baseline.contains(line) &&
                (text.isValidUtf16() || !line.endsWith(QLatin1String("surrogate pair kept"))))
                out << line;
        return out;
    }

    static QStringList texts(const QList<InputField>& fields)
    {
        QStringList out;
        for (const InputField& f : fields)
            out << (f.widget ? f.text() : QString());
        return out;
    }

    void fault(const InputField& f, const QString& text, Method method, const QString& what)
    {
        // One line per field and kind of fault, with the first text that showed it.
        const QString key =
            f.label() + QLatin1Char('|') + what.left(what.indexOf(QLatin1Char('=')));
        if (m_seen.contains(key))
            return;
        m_seen.insert(key);
        m_figures.faults << QStringLiteral("%1: %2 (typed %3, %4)")
                                .arg(f.label(), what, printable(text),
                                     QLatin1String(methodName(method)));
    }

    const Options& m_options;
    app::Motrix& m_motrix;
    app::UnattendedDialogs& m_dialogs;
    Figures& m_figures;
    RandomTexts m_random;
    QSet<QString> m_seen;
    QStringList m_baseline;  // range faults before the current text
    QList<QPushButton*> m_takeButtons;
};

}  // namespace

Figures runTorture(const Options& options, const QString& dir)
{
    Figures figures;
    app::UnattendedDialogs dialogs;
    // Large logger capacities fail as on a machine with little memory, so that the fallback
    // to the previous size is tortured too instead of taking gigabytes.
    logger::LogTable::setAllocationLimit(qint64(500000) * logger::LogTable::valueColumns * 4);
    {
        app::Motrix motrix(dialogs, dir + QLatin1Char('/'));
        motrix.setPortLister([] { return QStringList(); });
        motrix.startUp({false, false});
        startInRange(motrix);
        Runner runner(options, motrix, dialogs, figures);
        for (const app::WindowInfo& info : app::windowTable)
            runner.window(info.id);
        motrix.loop().stop();
    }
    logger::LogTable::setAllocationLimit(0);
    figures.messages = dialogs.messages;
    figures.questions = dialogs.questions;
    return figures;
}

}  // namespace torture
