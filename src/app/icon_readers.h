#pragma once
// Reading icons out of icon files (.ICO), 16-bit icon libraries and programs (NE: .ICL, .DLL, .EXE) and
// 32/64-bit programs and libraries (PE: .DLL, .EXE, .ICL). Plain functions over bytes: the content
// decides the reader, never the file name. Every count, offset and size read from the bytes is checked
// against the bytes present and against fixed limits before it is used, so damaged or hostile files
// give fewer icons (or none), never a crash, a hang or an unbounded allocation.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace plennix {

// Limits on what one file may yield.
constexpr int kMaxIconsPerFile = 2048;     // icons (groups) taken from one file
constexpr int kMaxImagesPerIcon = 64;      // images looked at per icon
constexpr int kMaxIconDimension = 256;     // pixels each way
constexpr qint64 kMaxIconFileBytes = 64 * 1024 * 1024;

// The system icon size: a library's icon is shown and dropped at this size when the file has it.
constexpr int kSystemIconSize = 32;

enum class IconFileKind { Unknown, Ico, Ne, Pe };

// What the bytes hold: an icon directory, an "MZ" program with an "NE" or a "PE" header.
IconFileKind SniffIconFile(const QByteArray& bytes);

// One image of an icon as stored in a resource or an icon file: a device-independent bitmap (header,
// palette, colour bits, then the 1-bit transparency mask) or a PNG stream. Null when unreadable.
QImage DecodeIconImage(const QByteArray& data);

// The icons of each kind of file, in file order, one image per icon (the one of the system icon size
// with the most colours, else the nearest size). Empty when the bytes are not of that kind.
std::vector<QImage> ReadIcoIcons(const QByteArray& bytes);
std::vector<QImage> ReadNeIcons(const QByteArray& bytes);
std::vector<QImage> ReadPeIcons(const QByteArray& bytes);

// Sniffs the bytes and reads them with the matching reader.
std::vector<QImage> ReadIcons(const QByteArray& bytes);
// Reads a file (none when it is missing, unreadable, not a regular file or larger than kMaxIconFileBytes;
// *readError, when given, then names the file and the reason, and stays empty for a file that was read).
std::vector<QImage> ReadIconFile(const QString& path, QString* readError = nullptr);

// Writes icons as a 16-bit icon library (an "MZ" stub, an "NE" header and a resource table of one icon
// group and one 32-bit colour image per icon), the form of the shipped libraries. Each image is scaled
// to at most kMaxIconDimension.
QByteArray WriteNeIconLibrary(const std::vector<QImage>& icons, const QByteArray& moduleName);

}  // namespace plennix
