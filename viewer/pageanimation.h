#pragma once
// An animated picture of a page (a GIF of several frames). It plays the
// frames on a timer and hands each to the page, which swaps the picture in
// place: the frames are as large as the picture, so nothing is laid out
// again. Delays under 20 ms count as 100 ms, as web browsers do, so a GIF
// written with no delay does not spin the processor.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace carmanual {

class TPageAnimation final : public QObject {
    Q_OBJECT

public:
    // True when bytes hold a picture of more than one frame.
    static bool IsAnimated(const QByteArray& bytes);

    TPageAnimation(QByteArray bytes, std::function<void(const QImage&)> onFrame,
                   QObject* parent = nullptr);
    ~TPageAnimation() override;

    // Starts or goes on playing (running), or holds the frame shown.
    void SetRunning(bool running);
    bool Running() const { return m_timer.isActive(); }

private:
    void Restart();
    void NextFrame();

    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QImageReader> m_reader;
    QTimer m_timer;
    std::function<void(const QImage&)> m_onFrame;
    int m_playsLeft = -1; // -1: for ever
    bool m_finished = false;
};

} // namespace carmanual
