// The test window's check-mark canvas: empty, a green tick or a red cross.
#pragma once

#include <QWidget>

namespace forms {

class CheckMark final : public QWidget {
public:
    enum class State { Clear, Tick, Cross };
    explicit CheckMark(QWidget* parent = nullptr);
    void setState(State state);
    State state() const { return m_state; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    State m_state = State::Clear;
};

}  // namespace forms
