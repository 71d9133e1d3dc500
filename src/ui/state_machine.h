#pragma once
// The busy state of the main window. Every handler that changes data runs only from idle and
// returns to idle when it ends, however it ends; changes the program makes to its own controls
// therefore never re-enter the handlers.
#include <cstdint>

namespace rs::ui {

enum class Busy : std::int16_t { Idle = 0, Busy = 1, Dragging = 2 };

class StateMachine {
public:
    Busy State() const { return state_; }
    bool IsIdle() const { return state_ == Busy::Idle; }
    bool IsDragging() const { return state_ == Busy::Dragging; }

    // Idle -> `to`; false (and no change) from any other state.
    bool TryEnter(Busy to = Busy::Busy) {
        if (state_ != Busy::Idle) return false;
        state_ = to;
        return true;
    }
    void Leave() { state_ = Busy::Idle; }

private:
    Busy state_ = Busy::Idle;
};

// Holds the busy state for one handler: entered only from idle, back to idle at scope end.
//     BusyScope busy(machine);
//     if (!busy) return;
class BusyScope {
public:
    explicit BusyScope(StateMachine& machine, Busy to = Busy::Busy)
        : machine_(machine), entered_(machine.TryEnter(to)) {}
    ~BusyScope() {
        if (entered_) machine_.Leave();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    explicit operator bool() const { return entered_; }

private:
    StateMachine& machine_;
    bool entered_;
};

}  // namespace rs::ui
