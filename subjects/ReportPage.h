#pragma once

#include "drawings/PictureWidget.h"

#include <QPainter>
#include <QString>

#include <stdexcept>

class QPagedPaintDevice;

// The device could not take the report: there is no printer, or a page could not be started,
// drawn or finished.
class PrinterError : public std::runtime_error {
public:
    explicit PrinterError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// What the subject report draws on: a printer document as the report sees it. Coordinates are the
// device's own drawing units with the origin at the top-left corner of the printable area. Text is
// printed one line at a time at the print position, after which the position is at the start
// (left edge) of the next line. Any call may throw PrinterError.
class ReportPage {
public:
    virtual ~ReportPage() = default;

    // Size of the printable area of a page.
    virtual double width() const = 0;
    virtual double height() const = 0;

    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    virtual void setPrintPosition(double x, double y) = 0;
    virtual void print(const QString &text) = 0;
    // A black line.
    virtual void line(double x1, double y1, double x2, double y2) = 0;
    // Ends the page and moves the print position to the top-left corner of the next one.
    virtual void newPage() = 0;
    // Ends the document: what was drawn goes to the device.
    virtual void endDocument() = 0;
    // Abandons the document: nothing of it goes to the device. Never throws.
    virtual void cancelDocument() = 0;
};

// A report page on a paged paint device (a printer or a PDF writer), drawn through the picture
// calls of every picture area. Unless begin() is called first, the device is opened at the first
// drawing call, so a report with nothing in it sends nothing to a printer. No empty sheet comes out
// of a new page: the page ends when something is drawn after it.
class PainterReportPage : public ReportPage {
public:
    // Text size in points: the index line with its date fits the width of a cell when four cells
    // stand across a portrait sheet.
    static constexpr double FontSize = 6.5;

    explicit PainterReportPage(QPagedPaintDevice &device);
    ~PainterReportPage() override;

    // Opens the device now. Throws PrinterError when it cannot be painted on.
    void begin();

    double width() const override;
    double height() const override;
    double currentX() const override { return m_surface.currentX(); }
    double currentY() const override { return m_surface.currentY(); }
    void setPrintPosition(double x, double y) override { m_surface.setPrintPosition(x, y); }
    void print(const QString &text) override;
    void line(double x1, double y1, double x2, double y2) override;
    void newPage() override;
    void endDocument() override;
    void cancelDocument() override;

protected:
    // What cancelling means for the device: a printer aborts its job before painting stops, a file
    // is removed after. The painter may be inactive (nothing was drawn); it must be left inactive.
    virtual void abandon(QPainter &painter);

private:
    void drawing();

    QPagedPaintDevice &m_device;
    QPainter m_painter;
    PictureSurface m_surface;
    bool m_pageUsed = false;    // something was drawn on the current page
    bool m_pagePending = false; // the current page ends before the next drawing
    bool m_finished = false;
    bool m_cancelled = false;
};
