#pragma once

#include <QString>

// The template head in MNI space and the atlas on its grid, as Debian's mricron-data installs them
// (the Colin 27 head, its brain, the Brodmann atlas), or files the operator names instead.
struct BrainTemplate {
    QString name;        // the space's BIDS name: "MNIColin27"
    QString head;        // the template head (NIfTI)
    QString brain;       // the template's brain alone, background 0 (NIfTI)
    QString atlas;       // labels on the template's grid (NIfTI, whole numbers 0..255)
    QString atlasLabels; // "number name" per line; "" for the Brodmann atlas, whose labels are BA<n>

    // The folder mricron-data installs its templates in.
    static QString defaultFolder();

    // The template and atlas: mricron-data's, or the files given. Each path must be a regular file.
    // Throws BrainError naming the package when its files are missing, or the file given when it
    // cannot be used.
    static BrainTemplate find(const QString &templateOverride = {}, const QString &atlasOverride = {});

    // The SHA-256 of the head file, lower-case hex. Throws BrainError when it cannot be read.
    QString headSha256() const;
};
