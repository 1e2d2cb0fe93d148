// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/bytetext.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr char16_t EscapeBase = 0xDC00;
constexpr char16_t FirstEscape = 0xDC80;
constexpr char16_t LastEscape = 0xDCFF;

bool IsContinuation(uchar byte, uchar low = 0x80, uchar high = 0xBF)
{
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 sequence at p (the lead byte is not ASCII), or 0. Overlong
// forms, encoded surrogates and code points beyond U+10FFFF are not well formed.
qsizetype SequenceLength(const uchar* p, qsizetype available)
{
    const uchar lead = p[0];
    qsizetype length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || available < length || !IsContinuation(p[1], low, high))
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!IsContinuation(p[i]))
            return 0;
    }
    return length;
}

char32_t CodePoint(const uchar* p, qsizetype length)
{
    static constexpr uchar LeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t code = p[0] & LeadMask[length];
    for (qsizetype i = 1; i < length; ++i)
        code = (code << 6) | (p[i] & 0x3F);
    return code;
}

char* AppendUtf8(char* out, char32_t code)
{
    if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (code & 0x3F));
    return out;
}

// A NUL would cut the name short, so such a name is not looked up at all.
bool IsLookable(const QString& path)
{
    return !path.isEmpty() && !path.contains(QChar(0));
}

std::filesystem::path NativePath(const QString& path)
{
    const QByteArray bytes = BytesFromText(path);
    return std::filesystem::path(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace

QString TextFromBytes(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    QString text(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < size;) {
        if (p[i] < 0x80) {
            *out++ = p[i++];
            continue;
        }
        const qsizetype length = SequenceLength(p + i, size - i);
        if (length == 0) {
            *out++ = static_cast<char16_t>(EscapeBase + p[i++]);
            continue;
        }
        const char32_t code = CodePoint(p + i, length);
        if (QChar::requiresSurrogates(code)) {
            *out++ = QChar::highSurrogate(code);
            *out++ = QChar::lowSurrogate(code);
        } else {
            *out++ = static_cast<char16_t>(code);
        }
        i += length;
    }
    // Never more units than bytes: a sequence of two or more bytes gives one unit or two.
    text.truncate(out - reinterpret_cast<const char16_t*>(text.constData()));
    return text;
}

QByteArray BytesFromText(QStringView text)
{
    const qsizetype size = text.size();
    // At most three bytes per unit: a pair of surrogates gives four.
    QByteArray bytes(size * 3, Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            *out++ = char(c);
        } else if (c >= FirstEscape && c <= LastEscape) {
            *out++ = char(c - EscapeBase);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            out = AppendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            out = AppendUtf8(out, QChar::ReplacementCharacter);
        } else {
            out = AppendUtf8(out, c);
        }
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

bool SurvivesBytes(QStringView text)
{
    return TextFromBytes(BytesFromText(text)) == text;
}

bool PathExists(const QString& path)
{
    std::error_code error;
    return IsLookable(path) && std::filesystem::exists(NativePath(path), error);
}

bool IsFolderPath(const QString& path)
{
    std::error_code error;
    return IsLookable(path) && std::filesystem::is_directory(NativePath(path), error);
}
