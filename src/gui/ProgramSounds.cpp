#include "gui/ProgramSounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <system_error>

namespace veldra::gui {

void playProgramSound(const std::filesystem::path& programFolder, const char* fileName) {
    const std::filesystem::path file = programFolder / fileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return;
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    // The effect lives until it has played (or failed to load), then goes.
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Ready) effect->play();
        if (effect->status() == QSoundEffect::Error) effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) effect->deleteLater();
    });
    effect->setSource(QUrl::fromLocalFile(QString::fromStdU16String(file.u16string())));
}

}  // namespace veldra::gui
