// The readable text form of records, for inspection (the --dump command and tests).
#include "surface/object_stream.h"

#include <QLocale>

#include "platform/stream_error.h"
#include "platform/code_page.h"

namespace plennix {

namespace {
[[noreturn]] void invalidFormat() { throw StreamError(InvalidStreamFormatMessage()); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// Text form

namespace {

constexpr int kMaxListDepth = 32;

QString quoteString(const QByteArray& bytes) {
    if (bytes.isEmpty()) return QStringLiteral("''");
    QString out;
    QByteArray run;  // printable bytes, decoded together in the files' code page
    auto flushRun = [&] {
        if (run.isEmpty()) return;
        out += QLatin1Char('\'') + DecodeFromCodePage(run).replace(QLatin1Char('\''), QStringLiteral("''")) +
               QLatin1Char('\'');
        run.clear();
    };
    for (const char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        if (b < 0x20) {
            flushRun();
            out += QLatin1Char('#') + QString::number(b);
        } else {
            run.append(ch);
        }
    }
    flushRun();
    return out;
}

QString valueToText(StreamReader& in, const QString& indent, int depth) {
    const ValueTag tag = in.ReadTag();
    switch (tag) {
    case vaNull: invalidFormat();
    case vaList: {
        if (depth >= kMaxListDepth) invalidFormat();
        QString out = QStringLiteral("(");
        while (!in.NextIsEnd())
            out += QLatin1Char('\n') + indent + QStringLiteral("  ") +
                   valueToText(in, indent + QStringLiteral("  "), depth + 1);
        in.ReadListEnd();
        return out + QLatin1Char(')');
    }
    case vaInt8:
    case vaInt16:
    case vaInt32: return QString::number(in.ReadIntegerData(tag));
    case vaExtended: return QString::number(in.ReadRawExtended(), 'g', QLocale::FloatingPointShortest);
    case vaString:
    case vaLString: return quoteString(in.ReadStringData(tag));
    case vaIdent: return QString::fromLatin1(in.ReadShortStringBytes());
    case vaFalse: return QStringLiteral("False");
    case vaTrue: return QStringLiteral("True");
    case vaBinary: {
        const QByteArray data = in.ReadRawBytes(in.ReadRawInt32());
        QString out = QStringLiteral("{");
        for (qsizetype i = 0; i < data.size(); i += 32)
            out += QLatin1Char('\n') + indent + QStringLiteral("  ") +
                   QString::fromLatin1(data.mid(i, 32).toHex().toUpper());
        return out + QLatin1Char('}');
    }
    case vaSet: {
        QStringList names;
        for (const QByteArray& m : in.ReadSetData()) names.append(QString::fromLatin1(m));
        return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    }
    invalidFormat();
}

}  // namespace

QString ObjectRecordToText(StreamReader& in) {
    in.ReadSignature();
    const QString className = in.ReadShortString();
    const QString objectName = in.ReadShortString();
    QString out = QStringLiteral("object ");
    if (!objectName.isEmpty()) out += objectName + QStringLiteral(": ");
    out += className + QLatin1Char('\n');
    while (!in.NextIsEnd()) {
        const QString name = in.ReadShortString();
        out += QStringLiteral("  ") + name + QStringLiteral(" = ") + valueToText(in, QStringLiteral("  "), 0) +
               QLatin1Char('\n');
    }
    in.ReadListEnd();
    in.ReadListEnd();
    return out + QStringLiteral("end\n");
}

QString ValueToText(StreamReader& in) { return valueToText(in, QString(), 0); }

QString ObjectListToText(StreamReader& in) {
    in.ReadListBegin();
    QString out;
    while (!in.NextIsEnd()) out += ObjectRecordToText(in);
    in.ReadListEnd();
    return out;
}

}  // namespace plennix
