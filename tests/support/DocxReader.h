#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

/// Reads a .docx file back as a reader would see it: its parts, their XML as a
/// tree, and the body as paragraph texts and tables.
namespace DocxReader {

/// One XML element with its attributes, children and text.
struct Node
{
    QString name; // qualified, as written
    QHash<QString, QString> attrs;
    std::vector<Node> children;
    QString text;

    QString attr(const QString& n) const { return attrs.value(n); }
    // Children, or with deep all descendants, of that name. Only on a node that
    // outlives the answer: the results point into it.
    std::vector<const Node*> all(const QString& n, bool deep = false) const&;
    const Node* child(const QString& n) const&;
    std::vector<const Node*> all(const QString&, bool = false) const&& = delete;
    const Node* child(const QString&) const&& = delete;
};

/// The parts of a package in archive order. Their XML is parsed with namespace processing, so an undeclared prefix
/// fails as well as bad XML (std::runtime_error).
struct Package
{
    QStringList order;
    QHash<QString, QByteArray> parts;

    Node xml(const QString& name) const;
    /// The w:body of word/document.xml.
    Node body() const;
};

/// Throws std::runtime_error when the bytes or the file are not a zip archive.
Package unzip(QByteArray bytes);
Package unzipFile(const QString& path);

/// A paragraph as its text (its runs' text, tabs as '\t', line breaks as '\v', page breaks as '\f'); a table as "["
/// rows joined by ";" of cells joined by
/// "|" "]", the blocks of a cell joined by "¶".
QString outline(const Node& n);

/// The outline of every block of the body, in order.
QStringList bodyOutline(const Package& p);

/// Every block of the body for print: a paragraph as its text, "|" and its flags ("b" when all its runs are bold,
/// "b?" when only some are, "N" kept with the next paragraph, "L" its lines kept together), a table as "[table]".
QStringList flaggedOutline(const Package& p);

/// What keeps a word processor from opening the package cleanly: a part
/// without a content type, XML that is not well-formed, a relationship that
/// leads nowhere, a part nothing reaches, a picture without its relationship.
/// Empty when there is nothing.
QStringList packageFaults(const Package& p);

} // namespace DocxReader
