// The chart panel as a picture or a document: for the clipboard, files and the printer.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class ProfileChart;
class QPagedPaintDevice;

// The panel as drawn, at twice its size, so that it stays sharp in a document.
QImage ChartImage(const ProfileChart &chart);

// The same as a PNG file's bytes.
QByteArray ChartPng(const ProfileChart &chart);

// A PDF of one page the size of the panel, drawn as vectors: its texts stay text and its
// lines lines, with no picture of the chart in it. `title` goes into the document's data.
QByteArray ChartPdf(const ProfileChart &chart, const QString &title);

// Draws the panel on the device's page (a printer's), as large as the page allows,
// centred, its proportions kept. False where the device would not start a painting.
bool PaintChartOnPage(const ProfileChart &chart, QPagedPaintDevice &device);
