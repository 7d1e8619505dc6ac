#include "statusline.h"

#include "textmsg.h"

namespace carmanual {

TStatusLine::TStatusLine(TTextMsg* textFields, QObject* parent)
    : QObject(parent), m_textFields(textFields) {
    m_timer.setInterval(BlinkInterval);
    connect(&m_timer, &QTimer::timeout, this, &TStatusLine::StatusTimerTick);
}

TStatusLine::~TStatusLine() = default;

void TStatusLine::SetStatusFields(const QString& text) {
    if (m_textFields)
        m_textFields->SetFieldText(text, TTextMsg::StatusLineFields, true);
}

void TStatusLine::ShowStatus(const QString& text) {
    if (!m_textFields)
        return;
    m_text = text;
    m_blinkCount = 1;
    SetStatusFields(m_text);
    m_timer.start();
}

void TStatusLine::ClearStatus() {
    if (!m_textFields)
        return;
    m_timer.stop();
    m_text.clear();
    m_blinkCount = 1;
    SetStatusFields(QString());
}

void TStatusLine::StatusTimerTick() {
    if (m_blinkCount >= BlinkTicks) {
        m_timer.stop();
        return;
    }
    SetStatusFields(m_blinkCount % 2 != 0 ? QString() : m_text);
    ++m_blinkCount;
}

} // namespace carmanual
