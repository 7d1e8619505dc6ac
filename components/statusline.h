#pragma once
// The status line of the skin: a short message shown in every text field
// identified as "statusline", blinking for about eight seconds and then
// gone. Without text fields there is no status line and both operations do
// nothing.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>

namespace carmanual {

class TTextMsg;

class TStatusLine final : public QObject {
    Q_OBJECT

public:
    static constexpr int BlinkInterval = 200; // milliseconds between ticks
    static constexpr std::int32_t BlinkTicks = 40;

    // textFields may be null (no text fields yet, or none at all) and may be
    // given later with SetTextFields.
    explicit TStatusLine(TTextMsg* textFields = nullptr, QObject* parent = nullptr);
    ~TStatusLine() override;
    Q_DISABLE_COPY_MOVE(TStatusLine)

    void SetTextFields(TTextMsg* textFields) { m_textFields = textFields; }

    // Shows text at once and (re)starts the blinking; a message shown while
    // another blinks replaces it.
    void ShowStatus(const QString& text);
    // Stops the blinking and empties the status fields.
    void ClearStatus();

    // One blink: the timer's handler. Odd counts hide the message, even ones
    // show it; the count that reaches BlinkTicks stops the timer with the
    // message hidden.
    void StatusTimerTick();

    const QString& Text() const { return m_text; }
    std::int32_t BlinkCount() const { return m_blinkCount; }
    bool Blinking() const { return m_timer.isActive(); }
    int TimerInterval() const { return m_timer.interval(); }

private:
    void SetStatusFields(const QString& text);

    QPointer<TTextMsg> m_textFields;
    QString m_text;
    std::int32_t m_blinkCount = 0;
    QTimer m_timer;
};

} // namespace carmanual
