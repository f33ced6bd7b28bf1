#pragma once

#include "report/DocxContent.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

/// Turns a document's content into the bytes of a .docx file (an Office Open
/// XML package), with its parts, content types and relationships.
namespace DocxPackage {

/// Extension and content type of an image file recognised by its first bytes
/// (BMP, PNG, JPEG, GIF); nothing for anything else.
std::optional<DocxContent::Picture> pictureKind(const QByteArray& bytes);

/// The whole package; stamp dates its zip entries. Throws OptivarError when
/// the archive cannot be made.
QByteArray build(const DocxContent& content, const QDateTime& stamp);

/// Width of each column as laid out: the set widths, or, for a table stretched
/// to the page, those widths scaled in proportion to fill the text width.
std::vector<int> columnWidths(const DocxContent::Table& table);

} // namespace DocxPackage
