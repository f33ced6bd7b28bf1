#include "storage/IniDocument.h"

#include "storage/CodePage.h"

#include <QByteArrayView>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v)
{
    // A CR left by a CRLF split counts as a blank too.
    qsizetype b = 0, e = v.size();
    while (b < e && (isBlank(v[b]) || v[b] == '\r'))
        ++b;
    while (e > b && (isBlank(v[e - 1]) || v[e - 1] == '\r'))
        --e;
    return v.sliced(b, e - b);
}

// The section name of a header line ("[name]", blanks allowed around and inside
// the brackets), or nothing when the line is not a header.
std::optional<QByteArrayView> headerName(QByteArrayView line)
{
    const QByteArrayView t = trimmed(line);
    if (t.isEmpty() || t[0] != '[')
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimmed(t.sliced(1, close - 1));
}

// The value as a reader sees it: blanks around it dropped, then one pair of
// matching enclosing quotes.
QByteArrayView readerValue(QByteArrayView raw)
{
    QByteArrayView v = trimmed(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v;
}

// The bytes to write for a value so that a reader gives back exactly value.
QByteArray writerValue(QStringView value)
{
    const auto breaksLine = [](QChar c) { return c == u'\r' || c == u'\n' || c == QChar(0); };
    QByteArray bytes;
    if (std::any_of(value.cbegin(), value.cend(), breaksLine)) {
        QString clean = value.toString();
        std::replace_if(clean.begin(), clean.end(), breaksLine, QChar(u' '));
        bytes = CodePage::encode(clean);
    } else {
        bytes = CodePage::encode(value);
    }
    if (readerValue(bytes).size() != bytes.size())
        bytes = '"' + bytes + '"';
    return bytes;
}

std::optional<int> parseInteger(QByteArrayView v)
{
    // A decimal integer with an optional sign and nothing else; values beyond
    // 32 bits are not integers here. Every judgement is read through this.
    v = trimmed(v);
    qsizetype i = 0;
    const bool negative = !v.isEmpty() && v[0] == '-';
    if (!v.isEmpty() && (v[0] == '-' || v[0] == '+'))
        ++i;
    if (i == v.size())
        return std::nullopt;
    qint64 n = 0;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
        if (n > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    n = negative ? -n : n;
    if (n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(n);
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    doc.m_source = bytes;
    const char* data = doc.m_source.constData();
    const qsizetype size = doc.m_source.size();
    doc.m_lines.reserve(size_t(doc.m_source.count('\n')) + 1);
    qsizetype start = 0;
    while (start < size) {
        const char* nl = static_cast<const char*>(std::memchr(data + start, '\n', size_t(size - start)));
        const qsizetype end = nl ? nl - data : size;
        qsizetype textEnd = end;
        End lineEnd = End::None;
        if (nl) {
            lineEnd = End::LF;
            if (textEnd > start && data[textEnd - 1] == '\r') {
                --textEnd;
                lineEnd = End::CRLF;
            }
        }
        doc.m_lines.push_back(Line{QByteArray::fromRawData(data + start, textEnd - start), lineEnd});
        start = nl ? end + 1 : size;
    }
    return doc;
}

namespace {

QByteArrayView endBytes(int end)
{
    return end == 2 ? QByteArrayView("\r\n") : end == 1 ? QByteArrayView("\n") : QByteArrayView();
}

} // namespace

QByteArray IniDocument::toBytes() const
{
    qsizetype total = 0;
    for (const Line& l : m_lines)
        total += l.text.size() + endBytes(int(l.end)).size();
    QByteArray out;
    out.reserve(total);
    for (const Line& l : m_lines)
        out.append(l.text).append(endBytes(int(l.end)));
    return out;
}

const IniDocument::Index& IniDocument::index() const
{
    if (m_index)
        return *m_index;
    Index idx;
    idx.keys.reserve(qsizetype(m_lines.size()));
    FoldedName section;
    bool inSection = false;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const QByteArrayView text = m_lines[size_t(i)].text;
        const qsizetype eq = text.indexOf('=');
        if (eq < 0 || trimmed(text).startsWith('[')) {
            if (const auto name = headerName(text)) {
                section = FoldedName{*name};
                inSection = true;
                idx.headers[section].append(i);
            }
            continue;
        }
        if (!inSection)
            continue;
        KeyLine& first = idx.keys[{section, FoldedName{trimmed(text.first(eq))}}];
        if (first.line < 0)
            first.line = i; // the first of two equal keys wins
    }
    m_index = std::move(idx);
    return *m_index;
}

namespace {

// The bytes of a section name or key in the file. Names are nearly always
// plain ASCII: they are then copied into buffer, which saves the two strings of
// encoding every looked-up name (the 324 alternative judgements of a 9 x 9
// problem are looked up in 19 µs instead of 48).
QByteArrayView nameBytes(QStringView name, QVarLengthArray<char, 48>& buffer, QByteArray& encoded)
{
    buffer.resize(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80) {
            encoded = CodePage::encode(name);
            return encoded;
        }
        buffer[i] = char(c);
    }
    return QByteArrayView(buffer.constData(), buffer.size());
}

} // namespace

int IniDocument::keyLine(QStringView section, QStringView key) const
{
    QVarLengthArray<char, 48> sBuffer, kBuffer;
    QByteArray sEncoded, kEncoded;
    return index()
        .keys.value({FoldedName{nameBytes(section, sBuffer, sEncoded)}, FoldedName{nameBytes(key, kBuffer, kEncoded)}})
        .line;
}

const QList<int>* IniDocument::headerLines(QStringView section) const
{
    const QByteArray s = CodePage::encode(section);
    const auto it = index().headers.constFind(FoldedName{s});
    return it == index().headers.cend() ? nullptr : &it.value();
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const int line = keyLine(section, key);
    if (line < 0)
        return std::nullopt;
    const QByteArrayView text = m_lines[size_t(line)].text;
    return CodePage::decode(readerValue(text.sliced(text.indexOf('=') + 1)));
}

QString IniDocument::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

int IniDocument::readInteger(QStringView section, QStringView key, int defaultValue) const
{
    const int line = keyLine(section, key);
    if (line < 0)
        return defaultValue;
    const QByteArrayView text = m_lines[size_t(line)].text;
    return parseInteger(readerValue(text.sliced(text.indexOf('=') + 1))).value_or(defaultValue);
}

bool IniDocument::hasSection(QStringView section) const
{
    return headerLines(section) != nullptr;
}

QStringList IniDocument::keys(QStringView section) const
{
    QStringList out;
    const QList<int>* headers = headerLines(section);
    if (!headers)
        return out;
    const QByteArray s = CodePage::encode(section);
    for (int h : *headers) {
        const int end = sectionEnd(h);
        for (int i = h + 1; i < end; ++i) {
            const QByteArrayView text = m_lines[size_t(i)].text;
            const qsizetype eq = text.indexOf('=');
            if (eq < 0)
                continue;
            const QByteArrayView key = trimmed(text.first(eq));
            if (index().keys.value({FoldedName{s}, FoldedName{key}}).line == i)
                out.append(CodePage::decode(key));
        }
    }
    return out;
}

int IniDocument::sectionEnd(int headerLine) const
{
    int i = headerLine + 1;
    while (i < int(m_lines.size()) && !headerName(m_lines[size_t(i)].text))
        ++i;
    return i;
}

int IniDocument::insertionPoint(int headerLine) const
{
    // After the last key line of the section, so blank lines and comments that
    // close the section stay where they are.
    int at = headerLine + 1;
    const int end = sectionEnd(headerLine);
    for (int i = headerLine + 1; i < end; ++i) {
        if (m_lines[size_t(i)].text.contains('='))
            at = i + 1;
    }
    return at;
}

void IniDocument::appendLine(const QByteArray& text)
{
    if (!m_lines.empty() && m_lines.back().end == End::None)
        m_lines.back().end = End::CRLF;
    m_lines.push_back(Line{text, End::CRLF});
}

void IniDocument::writeString(QStringView section, QStringView key, const QString& value)
{
    const QByteArray line = CodePage::encode(key) + '=' + writerValue(value);
    if (const int at = keyLine(section, key); at >= 0) {
        m_lines[size_t(at)] = Line{line, End::CRLF};
    } else if (const QList<int>* headers = headerLines(section)) {
        const int pos = insertionPoint(headers->front());
        if (m_lines[size_t(pos - 1)].end == End::None)
            m_lines[size_t(pos - 1)].end = End::CRLF;
        m_lines.insert(m_lines.begin() + pos, Line{line, End::CRLF});
    } else {
        appendLine('[' + CodePage::encode(section) + ']');
        appendLine(line);
    }
    changed();
}

void IniDocument::writeInteger(QStringView section, QStringView key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniDocument::eraseSection(QStringView section)
{
    const QList<int>* found = headerLines(section);
    if (!found)
        return;
    const QList<int> headers = *found;
    // From the last so that earlier line numbers stay valid.
    for (auto it = headers.rbegin(); it != headers.rend(); ++it)
        m_lines.erase(m_lines.begin() + *it, m_lines.begin() + sectionEnd(*it));
    changed();
}

void IniDocument::replaceSectionLines(QStringView section, const QStringList& lines)
{
    eraseSection(section);
    appendLine('[' + CodePage::encode(section) + ']');
    m_lines.reserve(m_lines.size() + size_t(lines.size()));
    for (const QString& text : lines) {
        const qsizetype eq = text.indexOf(u'=');
        const QStringView key = QStringView(text).first(eq < 0 ? text.size() : eq);
        const QStringView value = eq < 0 ? QStringView() : QStringView(text).sliced(eq + 1);
        // A judgement line ("A_0*A_1&Q_2=-3") is written as it stands: one
        // encoding instead of three pieces joined.
        QByteArray line = eq >= 0 ? CodePage::encode(text) : QByteArray();
        if (eq < 0 || line.size() != text.size() || line.contains('\r') || line.contains('\n') || line.contains('\0') ||
            readerValue(QByteArrayView(line).sliced(eq + 1)).size() != value.size()) {
            line = CodePage::encode(key);
            line.append('=').append(writerValue(value));
        }
        m_lines.push_back(Line{std::move(line), End::CRLF});
    }
    changed();
}

void IniDocument::replaceSection(QStringView section, const QList<Entry>& entries)
{
    eraseSection(section);
    appendLine('[' + CodePage::encode(section) + ']');
    m_lines.reserve(m_lines.size() + size_t(entries.size()));
    for (const Entry& e : entries) {
        QByteArray line = CodePage::encode(e.first);
        line.append('=').append(writerValue(e.second));
        m_lines.push_back(Line{std::move(line), End::CRLF});
    }
    changed();
}
