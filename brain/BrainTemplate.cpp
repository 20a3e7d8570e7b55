#include "brain/BrainTemplate.h"

#include "brain/BrainError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("BrainTemplate", text);
}

// A file the operator named: it must exist and be a regular file (a link to one is followed). The
// refusals are whole sentences (marked with QT_TRANSLATE_NOOP where the file is named), so that a
// translation can word each one.
struct Refusals {
    const char *missing, *irregular;
};

QString checked(const QString &path, const Refusals &refusals) {
    const QFileInfo info(path);
    if (!info.exists()) {
        throw BrainError(tr(refusals.missing).arg(path));
    }
    if (!info.isFile()) {
        throw BrainError(tr(refusals.irregular).arg(path));
    }
    return info.absoluteFilePath();
}

} // namespace

QString BrainTemplate::defaultFolder() {
    return QStringLiteral("/usr/share/mricron/templates");
}

BrainTemplate BrainTemplate::find(const QString &templateOverride, const QString &atlasOverride) {
    const QDir folder(defaultFolder());
    const auto packaged = [&](const QString &name) {
        const QString path = folder.filePath(name);
        if (!QFileInfo(path).isFile()) {
            throw BrainError(tr("The template files of the package mricron-data are missing (%1); install "
                                "mricron-data, or name a template with --template and an atlas with --atlas")
                                 .arg(path));
        }
        return path;
    };
    BrainTemplate t;
    t.name = QStringLiteral("MNIColin27");
    if (templateOverride.isEmpty()) {
        t.head = packaged(QStringLiteral("ch2.nii.gz"));
        t.brain = packaged(QStringLiteral("ch2bet.nii.gz"));
    } else {
        // Another head in the same space: its brain is taken to be the package's when present, else
        // the head itself (the distance to the brain then reads as the distance to the head's edge).
        t.head = checked(templateOverride,
                         {QT_TRANSLATE_NOOP("BrainTemplate", "The template %1 does not exist"),
                          QT_TRANSLATE_NOOP("BrainTemplate", "The template %1 is not a regular file")});
        const QString brain = folder.filePath(QStringLiteral("ch2bet.nii.gz"));
        t.brain = QFileInfo(brain).isFile() ? brain : t.head;
    }
    if (atlasOverride.isEmpty()) {
        t.atlas = packaged(QStringLiteral("brodmann.nii.gz"));
    } else {
        t.atlas = checked(atlasOverride,
                          {QT_TRANSLATE_NOOP("BrainTemplate", "The atlas %1 does not exist"),
                           QT_TRANSLATE_NOOP("BrainTemplate", "The atlas %1 is not a regular file")});
        // The label text beside it, as mricron names it: "aal.nii.gz" has "aal.nii.txt".
        QString base = t.atlas;
        base.replace(QRegularExpression(QStringLiteral("\\.gz$"), QRegularExpression::CaseInsensitiveOption),
                     QString());
        for (const QString &candidate :
             {base + QStringLiteral(".txt"),
              base.left(base.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".txt")}) {
            if (QFileInfo(candidate).isFile()) {
                t.atlasLabels = candidate;
                break;
            }
        }
    }
    return t;
}

QString BrainTemplate::headSha256() const {
    QFile file(head);
    if (!QFileInfo(head).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw BrainError(tr("The template %1 cannot be read").arg(head));
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        throw BrainError(tr("The template %1 cannot be read").arg(head));
    }
    return QString::fromLatin1(hash.result().toHex());
}
