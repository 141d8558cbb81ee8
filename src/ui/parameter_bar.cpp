#include "ui/parameter_bar.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QLabel>
#include <QMediaDevices>
#include <QSlider>

#include <cmath>
#include <memory>

namespace qx::ui {

ParameterBar::ParameterBar(std::function<void(Real)> moved, QWidget* parent)
    : QToolBar(parent), moved_(std::move(moved)), label_(new QLabel(this)), slider_(new QSlider(Qt::Horizontal, this))
{
    setObjectName(QStringLiteral("TParamBar"));
    setMovable(false);
    setFloatable(false);
    slider_->setRange(0, kSteps);
    slider_->setPageStep(kSteps / 20);
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(QStringLiteral("W = -0.0000000000")));
    addWidget(label_);
    addWidget(slider_);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        const Real value = position >= kSteps
                               ? state_.high
                               : state_.low + (state_.high - state_.low) * static_cast<Real>(position) / kSteps;
        updateLabel(value);
        if (moved_)
            moved_(value);
    });
}

void ParameterBar::showState(const TVorlWin::ParameterBar& state)
{
    state_ = state;
    const Real span = state.high - state.low;
    const int position =
        span > 0 ? static_cast<int>(std::lround(static_cast<double>((state.value - state.low) / span) * kSteps)) : 0;
    const QSignalBlocker block(slider_);
    slider_->setValue(std::clamp(position, 0, kSteps));
    updateLabel(state.value);
}

void ParameterBar::updateLabel(Real value)
{
    const QChar letter = state_.slot > 0 && state_.slot <= 26 ? QChar('A' + state_.slot - 1) : QChar('@');
    label_->setText(QStringLiteral("%1 = %2 ").arg(letter).arg(static_cast<double>(value), 0, 'g', 10));
}

QString ParameterBar::labelText() const
{
    return label_->text();
}

// ---- Tones.

namespace {
constexpr int kSampleRate = 22050;
} // namespace

struct TonePlayer::Impl {
    std::unique_ptr<QAudioSink> sink;
    std::unique_ptr<QBuffer> buffer;
    QByteArray samples;
};

TonePlayer::TonePlayer(QObject* parent) : QObject(parent), impl_(new Impl) {}

TonePlayer::~TonePlayer()
{
    if (impl_->sink)
        impl_->sink->stop();
    delete impl_;
}

bool TonePlayer::available() const
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool TonePlayer::play(int frequencyHz, int durationMs)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;
    if (impl_->sink)
        impl_->sink->stop();
    // A sine with a few milliseconds of fade at both ends, so it does not click.
    const int n = std::max(1, kSampleRate * std::clamp(durationMs, 1, 2000) / 1000);
    const int fade = std::min(n / 2, kSampleRate / 200);
    impl_->samples.resize(n * 2);
    auto* out = reinterpret_cast<int16_t*>(impl_->samples.data());
    for (int i = 0; i < n; ++i) {
        double a = 0.3 * std::sin(2 * M_PI * frequencyHz * i / kSampleRate);
        if (fade > 0 && i < fade)
            a *= static_cast<double>(i) / fade;
        if (fade > 0 && n - i < fade)
            a *= static_cast<double>(n - i) / fade;
        out[i] = static_cast<int16_t>(a * 32767);
    }
    impl_->buffer = std::make_unique<QBuffer>(&impl_->samples);
    impl_->buffer->open(QIODevice::ReadOnly);
    impl_->sink = std::make_unique<QAudioSink>(device, format);
    impl_->sink->start(impl_->buffer.get());
    return true;
}

} // namespace qx::ui
