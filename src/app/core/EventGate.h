// One event at a time. The program is one thread, and a handler or a timer step runs to its
// end before the next event is taken; only a modal dialog runs the event loop again from
// inside a handler. Whatever is in progress (a tick, a message box, a question, an input box,
// a file, folder or print dialog) holds this gate, and the main loop runs no tick while it is
// held, so nothing else reaches the KVT in the meantime.
//
//     { EventGate::Hold hold(dialogs.gate()); box.exec(); }
//
// The gate nests. The main loop listens to it being taken (it disarms the COM timer) and
// released (it arms the period anew once the event has ended).
#pragma once

#include <functional>
#include <utility>

namespace app {

class EventGate final {
public:
    // Takes the gate for its lifetime.
    class Hold final {
    public:
        explicit Hold(EventGate& gate) : m_gate(gate) { m_gate.enter(); }
        ~Hold() { m_gate.leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        EventGate& m_gate;
    };

    bool held() const { return m_depth > 0; }

    // The one listener (the main loop): called when the gate is first taken and when it is
    // free again. Either may be empty.
    void setListener(std::function<void()> taken, std::function<void()> released)
    {
        m_taken = std::move(taken);
        m_released = std::move(released);
    }

private:
    void enter()
    {
        if (m_depth++ == 0 && m_taken)
            m_taken();
    }
    void leave()
    {
        if (--m_depth == 0 && m_released)
            m_released();
    }

    int m_depth = 0;
    std::function<void()> m_taken;
    std::function<void()> m_released;
};

}  // namespace app
