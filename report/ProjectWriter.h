#pragma once

#include "ProjectText.h"
#include "ReportProject.h"

// Writes a report back into its project file the way a person would have
// typed it, touching only what changed: the lines of an unchanged statement
// stay byte for byte (spacing, comments, order), a changed one is written
// anew in its place, a deleted one is dropped, a new element goes after the
// element it follows in the list (the last ones before the report's 'fim'). Every
// other report, comment and line of the file is left alone.

// The statement of one element ("campo COMPONENTE x=1 y=0.6 ...").
QString elementStatement(const CellElement &element);

// The statement of one of the report's settings (modelos, conexao, papel,
// grade, margens, etiqueta, passo, termica, rolo, deslocamento); empty when
// the report leaves it at what the parser takes for granted.
QString settingStatement(const SheetReport &report, const QString &keyword);

// The lines of a whole report block, from 'relatorio' to 'fim'.
QStringList reportBlock(const SheetReport &report);

// The file with `original`'s block (as parsed from `text`) rewritten as `edited`.
QByteArray rewriteReport(const ProjectText &text, const SheetReport &original, const SheetReport &edited);

// What `written` (the report as the file, once saved, reads back) would lose
// of `shown` (the report as edited), said for a person: its name, a setting
// or an element, first difference only; empty when the file holds it alike.
// Compared as statements, so a value the file cannot carry for that kind of
// element (a font for a frame) is no difference.
QString writtenDifference(const SheetReport &shown, const SheetReport &written);

// The file with a new report block at its end.
QByteArray appendReport(const ProjectText &text, const SheetReport &report);

// The file with the project's calibration set to `offset` (mm): its
// 'deslocamento' line rewritten, or one added after 'ativo'.
QByteArray setProjectOffset(const ProjectText &text, const ReportProject &project, const QPointF &offset);

// The file with the project's 'ativo' line naming `name` instead (a report
// renamed); the line's indent and comment stay.
QByteArray setActiveReport(const ProjectText &text, const ReportProject &project, const QString &name);
