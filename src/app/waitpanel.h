#pragma once
// The wait panel of long jobs: a caption and a bar from 0 to 100. Jobs step
// it by fractions (share / item count), so the position is kept as a
// floating-point sum and shown rounded. Windows and the terminal draw it by
// overriding the display hooks; the base draws nothing (tests, batch runs).
#include <QString>

class TWaitPanel {
public:
    virtual ~TWaitPanel() = default;

    void ShowWait(const QString &text);
    void StepWait(double delta);
    void SetWait(int n);
    void HideWait();

    int position() const { return position_; }
    double accumulator() const { return accumulator_; }
    QString text() const { return text_; }
    bool isShown() const { return shown_; }

protected:
    virtual void shown(const QString &text) { (void)text; }
    // Returns false when the display rejected the position.
    virtual bool moved(int position) { (void)position; return true; }
    virtual void hidden() {}
    // Called when a step could not be shown ("sf" in the windowed program).
    virtual void stepFailed() {}

private:
    double accumulator_ = 0;
    int position_ = 0;
    QString text_;
    bool shown_ = false;
};

// The program-wide panel (a silent one until start-up installs another).
TWaitPanel &waitPanel();
void setWaitPanel(TWaitPanel *panel);
