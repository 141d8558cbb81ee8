#pragma once
// The parameter bar below a tool's picture: a slider that moves one letter
// of the window's variable table between its lower and upper bound, with
// the letter and its value beside it. The model says which letter
// (TVorlWin::parameterBar) and redraws as the slider moves.
#include "model/tvorlwin.h"

#include <QToolBar>
#include <functional>

class QLabel;
class QSlider;

namespace qx::ui {

class ParameterBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kSteps = 1000;
    ParameterBar(std::function<void(Real)> moved, QWidget* parent);
    // Shows the letter, its bounds and its value (the slider does not report it).
    void showState(const TVorlWin::ParameterBar& state);
    QSlider* slider() const { return slider_; }
    QString labelText() const;

private:
    void updateLabel(Real value);

    std::function<void(Real)> moved_;
    TVorlWin::ParameterBar state_;
    QLabel* label_;
    QSlider* slider_;
};

// Short sine tones on the default audio output (Beeps). Without an audio
// device it plays nothing; available() says so.
class TonePlayer : public QObject {
    Q_OBJECT
public:
    explicit TonePlayer(QObject* parent);
    ~TonePlayer() override;
    bool available() const;
    // Replaces the tone that still sounds; false when there is no device.
    bool play(int frequencyHz, int durationMs);

private:
    struct Impl;
    Impl* impl_;
};

} // namespace qx::ui
