#include "mediamodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <iostream>

namespace carmanual {

QStringList TMediaModule::Candidates() {
    const QString env = qEnvironmentVariable("CARMANUAL_MEDIA_MODULE");
    if (!env.isEmpty())
        return {env};
    const QDir program(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("libcarmanual-media.so");
    return {program.filePath(name), program.filePath(QStringLiteral("../lib/carmanual/") + name)};
}

TMediaModule& TMediaModule::Instance() {
    static TMediaModule module(Candidates());
    return module;
}

TMediaModule::TMediaModule(const QStringList& candidates) {
    for (const QString& file : candidates) {
        // The library stays loaded for the rest of the run: objects made by
        // it may live until the end.
        auto* library = new QLibrary(file);
        if (!library->load()) {
            delete library;
            continue;
        }
        using TVersion = int (*)();
        const auto version =
            reinterpret_cast<TVersion>(library->resolve("carmanual_media_interface_version"));
        const auto create = reinterpret_cast<TCreateSoundEffects>(
            library->resolve("carmanual_media_create_sound_effects"));
        if (!version || !create || version() != kMediaInterfaceVersion) {
            std::cerr << "carmanual: the media module " << file.toStdString()
                      << " does not belong to this program; sounds are off\n";
            library->unload();
            delete library;
            continue;
        }
        m_createSoundEffects = create;
        return;
    }
}

std::unique_ptr<ISoundEffects> TMediaModule::CreateSoundEffects() const {
    if (!m_createSoundEffects)
        return nullptr;
    return std::unique_ptr<ISoundEffects>(m_createSoundEffects());
}

} // namespace carmanual
