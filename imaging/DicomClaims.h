#pragma once

#include "imaging/VolumeLayout.h"

#include <QString>

#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <dcmtk/ofstd/offname.h>

#include <cstdint>

// What the DICOM side shares between scanning a folder and decoding a series: DCMTK set up once,
// values read from a data set, and the sizes a file claims checked against the bytes it holds
// before anything is set aside for them. Private to the imaging library (DCMTK is).
namespace DicomFiles::Claims {

// Registers the decoders and quiets DCMTK's log (fatal errors only), once for the whole program.
void prepareDcmtk();

OFFilename dcmtkName(const QString &path);

bool isJpeg2000(E_TransferSyntax xfer);

double dot(const VolumeLayout::Vec3 &a, const VolumeLayout::Vec3 &b);
VolumeLayout::Vec3 cross(const VolumeLayout::Vec3 &a, const VolumeLayout::Vec3 &b);

// Reads `count` (at most 8) finite values of the tag; the outputs keep what they held unless all
// are there.
bool readValues(DcmItem *item, const DcmTagKey &tag, double *values, unsigned long count);

// A value found in a functional group: in the item's own sequence `group`, first item.
bool readGroupValues(DcmItem *groups, const DcmTagKey &group, const DcmTagKey &tag, double *values,
                     unsigned long count);

// Why the sizes the image claims cannot be right: beyond what a head series reaches, or more pixel
// bytes than `available` (the file's size when its header is read, the pixel data's length when it is
// decoded) for data stored uncompressed, or more frames than a compressed file can hold (each at
// least an item of 8 bytes). "" when they can. The products are taken in 64 bits.
QString claimProblem(DcmItem *data, E_TransferSyntax xfer, std::int64_t available);

// The longest value an element of the item claims, at any depth, of those DCMTK reads only when they
// are asked for (the pixel data, and values of undefined length, are checked where they are decoded).
Uint32 longestClaim(DcmItem *item);

} // namespace DicomFiles::Claims
