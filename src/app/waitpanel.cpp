#include "waitpanel.h"

#include <cmath>

void TWaitPanel::ShowWait(const QString &text) {
    accumulator_ = 0;
    position_ = 0;
    text_ = text;
    shown_ = true;
    shown(text);
    moved(0);
}

void TWaitPanel::StepWait(double delta) {
    accumulator_ += delta;
    position_ = int(std::lround(accumulator_));
    if (!moved(position_))
        stepFailed();
}

void TWaitPanel::SetWait(int n) {
    accumulator_ = n;
    position_ = n;
    moved(n);
}

void TWaitPanel::HideWait() {
    shown_ = false;
    hidden();
}

namespace {
TWaitPanel *&current() {
    static TWaitPanel silent;
    static TWaitPanel *panel = &silent;
    return panel;
}
} // namespace

TWaitPanel &waitPanel() { return *current(); }
void setWaitPanel(TWaitPanel *panel) {
    static TWaitPanel silent;
    current() = panel ? panel : &silent;
}
