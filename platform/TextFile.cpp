#include "platform/TextFile.h"

#include "platform/Exception.h"
#include "platform/StoredFile.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace {
bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark)
{
    if (bytes.size() < qsizetype(mark.size())) return false;
    qsizetype i = 0;
    for (unsigned char b : mark)
        if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
}

// One open converter per call keeps this safe to use from any thread.
class TIconv
{
public:
    TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {}
    ~TIconv()
    {
        if (Ok()) iconv_close(FHandle);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Ok() const { return FHandle != iconv_t(-1); }

    // Converts all of `in`; returns false when a sequence could not be converted.
    bool Convert(const char* in, size_t inLen, QByteArray& out)
    {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        char buffer[256];
        char* src = const_cast<char*>(in);
        while (inLen > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t r = iconv(FHandle, &src, &inLen, &dst, &room);
            out.append(buffer, dst - buffer);
            if (r == size_t(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t FHandle;
};
} // namespace

QString DecodeText(const QByteArray& bytes)
{
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return QString::fromUtf8(bytes.mid(3));
    if (StartsWith(bytes, {0xFF, 0xFE})) {
        QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        return decoder(bytes.mid(2));
    }
    if (StartsWith(bytes, {0xFE, 0xFF})) {
        QStringDecoder decoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        return decoder(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return FromAnsi(bytes);
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

QStringList LoadTextLines(const QString& path, const QByteArray& nativePath)
{
    QByteArray bytes;
    QString reason;
    if (ReadStoredFile(path, -1, bytes, reason, nativePath) != TReadResult::Ok)
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
    return SplitLines(DecodeText(bytes));
}

QByteArray ToAnsi(const QString& text, int maxBytes)
{
    TIconv conv("CP949", "UTF-8");
    QByteArray out;
    if (!conv.Ok()) return text.toLatin1();
    // Character by character, so that an unmappable one becomes '?' and a cut never splits a character.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QByteArray utf8 = text.mid(i, len).toUtf8();
        i += len;
        QByteArray piece;
        if (!conv.Convert(utf8.constData(), size_t(utf8.size()), piece) || piece.isEmpty()) piece = "?";
        if (maxBytes >= 0 && out.size() + piece.size() > maxBytes) break;
        out += piece;
    }
    return out;
}

QString FromAnsi(const QByteArray& bytes)
{
    TIconv conv("UTF-8", "CP949");
    if (!conv.Ok()) return QString::fromLatin1(bytes);
    QByteArray whole;
    if (conv.Convert(bytes.constData(), size_t(bytes.size()), whole)) return QString::fromUtf8(whole);
    // Some bytes are no CP949: go character by character so each bad byte costs one replacement
    // character, not the rest of the text.
    QString result;
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype len = (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
        QByteArray out;
        if (conv.Convert(bytes.constData() + i, size_t(len), out)) {
            result += QString::fromUtf8(out);
            i += len;
        } else {
            result += QChar(0xFFFD); // retry the trail byte on its own
            i += 1;
        }
    }
    return result;
}
