#include "DocxReader.h"

#include <QBuffer>
#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace DocxReader {

namespace {

QString paragraphText(const Node& p)
{
    QString s;
    for (const Node* r : p.all(u"w:r"_s)) {
        for (const Node& c : r->children) {
            if (c.name == u"w:t"_s)
                s += c.text;
            else if (c.name == u"w:tab"_s)
                s += u'\t';
            else if (c.name == u"w:br"_s)
                s += c.attr(u"w:type"_s) == u"page"_s ? u'\f' : u'\v';
        }
    }
    return s;
}

QString paragraphFlags(const Node& p)
{
    size_t bold = 0;
    const std::vector<const Node*> runs = p.all(u"w:r"_s);
    for (const Node* r : runs) {
        if (r->child(u"w:rPr"_s) && r->child(u"w:rPr"_s)->child(u"w:b"_s))
            ++bold;
    }
    QString flags = bold == 0 ? QString() : bold == runs.size() ? u"b"_s : u"b?"_s;
    if (const Node* pPr = p.child(u"w:pPr"_s)) {
        if (pPr->child(u"w:keepNext"_s))
            flags += u'N';
        if (pPr->child(u"w:keepLines"_s))
            flags += u'L';
    }
    return flags;
}

Node parseXml(const QByteArray& bytes)
{
    QXmlStreamReader reader(bytes);
    Node root;
    std::vector<Node*> stack{&root};
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            Node n{reader.qualifiedName().toString(), {}, {}, {}};
            for (const QXmlStreamAttribute& a : reader.attributes())
                n.attrs.insert(a.qualifiedName().toString(), a.value().toString());
            stack.back()->children.push_back(std::move(n));
            stack.push_back(&stack.back()->children.back());
        } else if (token == QXmlStreamReader::EndElement) {
            stack.pop_back();
        } else if (token == QXmlStreamReader::Characters) {
            stack.back()->text += reader.text();
        }
    }
    if (reader.hasError() || root.children.size() != 1)
        throw std::runtime_error("malformed XML: " + reader.errorString().toStdString());
    return std::move(root.children.front());
}

} // namespace

std::vector<const Node*> Node::all(const QString& n, bool deep) const&
{
    std::vector<const Node*> out;
    for (const Node& c : children) {
        if (c.name == n)
            out.push_back(&c);
        if (deep) {
            const std::vector<const Node*> inner = c.all(n, true);
            out.insert(out.end(), inner.begin(), inner.end());
        }
    }
    return out;
}

const Node* Node::child(const QString& n) const&
{
    const std::vector<const Node*> found = all(n);
    return found.empty() ? nullptr : found.front();
}

Node Package::xml(const QString& name) const
{
    if (!parts.contains(name))
        throw std::runtime_error("the package has no part " + name.toStdString());
    return parseXml(parts.value(name));
}

Node Package::body() const
{
    const Node document = xml(u"word/document.xml"_s);
    return *document.child(u"w:body"_s);
}

Package unzip(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        throw std::runtime_error("not a zip archive");
    Package p;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("unreadable zip entry");
        p.order.append(zip.getCurrentFileName());
        p.parts.insert(zip.getCurrentFileName(), f.readAll());
    }
    return p;
}

Package unzipFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return unzip(f.readAll());
}

QString outline(const Node& n)
{
    if (n.name == u"w:p"_s)
        return paragraphText(n);
    QStringList rows;
    for (const Node* tr : n.all(u"w:tr"_s)) {
        QStringList cells;
        for (const Node* tc : tr->all(u"w:tc"_s)) {
            QStringList blocks;
            for (const Node& c : tc->children) {
                if (c.name != u"w:tcPr"_s)
                    blocks << outline(c);
            }
            cells << blocks.join(u'¶');
        }
        rows << cells.join(u'|');
    }
    return u'[' + rows.join(u';') + u']';
}

QStringList bodyOutline(const Package& p)
{
    QStringList out;
    for (const Node& c : p.body().children) {
        if (c.name != u"w:sectPr"_s)
            out << outline(c);
    }
    return out;
}

QStringList flaggedOutline(const Package& p)
{
    QStringList out;
    for (const Node& c : p.body().children) {
        if (c.name == u"w:p"_s)
            out << paragraphText(c) + u'|' + paragraphFlags(c);
        else if (c.name == u"w:tbl"_s)
            out << u"[table]"_s;
    }
    return out;
}

QStringList packageFaults(const Package& p)
{
    QStringList faults;
    try {
        if (p.order.value(0) != u"[Content_Types].xml"_s)
            faults << u"[Content_Types].xml is not the first part"_s;
        const Node types = p.xml(u"[Content_Types].xml"_s);
        QHash<QString, QString> byExtension, byPart;
        for (const Node* d : types.all(u"Default"_s))
            byExtension.insert(d->attr(u"Extension"_s), d->attr(u"ContentType"_s));
        for (const Node* o : types.all(u"Override"_s))
            byPart.insert(o->attr(u"PartName"_s).mid(1), o->attr(u"ContentType"_s));
        for (const QString& part : p.order) {
            if (part == u"[Content_Types].xml"_s)
                continue;
            if (byPart.value(part, byExtension.value(part.section(u'.', -1))).isEmpty())
                faults << u"no content type: "_s + part;
            if (part.endsWith(u".xml"_s) || part.endsWith(u".rels"_s))
                p.xml(part);
        }
        for (const QString& part : byPart.keys()) {
            if (!p.parts.contains(part))
                faults << u"content type of a missing part: "_s + part;
        }

        QSet<QString> reached, documentIds;
        for (const auto& [source, base] :
             {std::pair{u"_rels/.rels"_s, QString()}, std::pair{u"word/_rels/document.xml.rels"_s, u"word/"_s}}) {
            QSet<QString> ids;
            const Node rels = p.xml(source);
            for (const Node* rel : rels.all(u"Relationship"_s)) {
                if (ids.contains(rel->attr(u"Id"_s)))
                    faults << u"relationship id used twice: "_s + rel->attr(u"Id"_s);
                ids << rel->attr(u"Id"_s);
                const QString target = base + rel->attr(u"Target"_s);
                if (!p.parts.contains(target))
                    faults << u"relationship to a missing part: "_s + target;
                reached << target;
            }
            documentIds = ids;
        }
        for (const QString& part : p.order) {
            if (!part.contains(u"_rels/"_s) && part != u"[Content_Types].xml"_s && !reached.contains(part))
                faults << u"no relationship reaches "_s + part;
        }
        const Node body = p.body();
        for (const Node* blip : body.all(u"a:blip"_s, true)) {
            if (!documentIds.contains(blip->attr(u"r:embed"_s)))
                faults << u"picture without its relationship: "_s + blip->attr(u"r:embed"_s);
        }
    } catch (const std::exception& e) {
        faults << QString::fromStdString(e.what());
    }
    return faults;
}

} // namespace DocxReader
