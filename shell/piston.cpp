#include "piston.h"

#include "comprstream.h"
#include "paths.h"

#include <QBuffer>
#include <QLabel>
#include <QMovie>

namespace carmanual {

namespace {
constexpr int kLeft = 583;
constexpr int kTop = 470;
} // namespace

std::unique_ptr<TPiston> TPiston::Create(QWidget* window) {
    std::unique_ptr<TPiston> piston(new TPiston);
    try {
        TComprStream stream(ProgramDir() + "piston.gif");
        piston->m_data = new QBuffer(window);
        piston->m_data->setData(
            QByteArray(stream.Bytes().data(), static_cast<qsizetype>(stream.Size())));
        piston->m_data->open(QIODevice::ReadOnly);
    } catch (const EFOpenError&) {
        return nullptr;
    }
    piston->m_movie = new QMovie(piston->m_data, QByteArray(), window);
    if (!piston->m_movie->isValid())
        return nullptr;
    piston->m_label = new QLabel(window);
    piston->m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    piston->m_label->setMovie(piston->m_movie);
    piston->m_movie->jumpToFrame(0);
    piston->m_label->move(kLeft, kTop);
    piston->m_label->resize(piston->m_movie->currentImage().size());
    return piston;
}

TPiston::~TPiston() = default;

void TPiston::Show(bool show) {
    m_label->setVisible(show);
    if (show)
        m_movie->start();
    else
        m_movie->stop();
}

} // namespace carmanual
