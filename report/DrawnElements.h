#pragma once

#include "ReportProject.h"

#include <QDate>
#include <QImage>

#include <optional>

class ProjectStatement;

// The project file's statements for what a label draws besides texts and
// linear barcodes: lines, frames, QR codes and DataMatrix; and the attributes
// the text-like elements gained (rotation, the date's format and offset).

// linha, quadro, qr, datamatrix and imagem: the kinds this file reads.
bool isDrawnElement(CellElement::Kind kind);

CellElement parseDrawnElement(const ProjectStatement &st, CellElement::Kind kind);

// rotacao=0|90|180|270, 0 when absent.
int parseRotation(const ProjectStatement &st);

// data "dd/mm/aaaa" dias=... meses=...
void parseDate(const ProjectStatement &st, CellElement *element);

// The formats a date element takes, as a person writes them.
const QStringList &dateFormats();

// The day a date element prints for labels printed on `printDay`.
QString dateText(const CellElement &element, const QDate &printDay);

// The picture file of an image element, found from the project's folder
// (a path written with backslashes as on Windows is read alike).
QString imageFile(const SheetReport &report, const CellElement &element);

// The picture, or a null image and, in `fault`, why not (missing, unreadable).
QImage loadElementImage(const SheetReport &report, const CellElement &element, QString *fault = nullptr);

// The parts of a 2D code as written in the file: "https://x/" + CODIGOEAN.
QString partsStatement(const QList<ValuePart> &parts);
// And back, as the parser reads them; nothing (and the fault) when they do not read.
std::optional<QList<ValuePart>> partsFromStatement(const QString &text, QString *fault);

// Thinner lines than this are not drawn by any of the printers.
constexpr double MinLineMm = 0.1;
// The thickness a line or frame gets when the file gives none.
constexpr double DefaultLineMm = 0.3;
// A 2D code's module smaller than this is more than a shop's reader reliably reads.
constexpr double MinMatrixModuleMm = 0.25;
