#include "subjects/ReportPage.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>

PainterReportPage::PainterReportPage(QPagedPaintDevice &device)
    : m_device(device), m_surface(&m_painter, QSize(device.width(), device.height())) {
    m_surface.setFontSize(FontSize);
}

PainterReportPage::~PainterReportPage() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

void PainterReportPage::begin() {
    if (m_painter.isActive()) {
        return;
    }
    if (m_finished || !m_painter.begin(&m_device)) {
        throw PrinterError(
            QCoreApplication::translate("ReportPage", "The printer cannot start the document"));
    }
}

double PainterReportPage::width() const {
    return m_device.width();
}

double PainterReportPage::height() const {
    return m_device.height();
}

void PainterReportPage::drawing() {
    begin();
    if (m_pagePending) {
        if (!m_device.newPage()) {
            throw PrinterError(
                QCoreApplication::translate("ReportPage", "The printer cannot start a new page"));
        }
        m_pagePending = false;
    }
    m_pageUsed = true;
}

void PainterReportPage::print(const QString &text) {
    drawing();
    m_surface.print(text);
}

void PainterReportPage::line(double x1, double y1, double x2, double y2) {
    drawing();
    m_surface.line(x1, y1, x2, y2, ZoColors::Black);
}

void PainterReportPage::newPage() {
    // The sheet is ejected when something is drawn on the next one, so that ending the document
    // right after a new page, or asking for two in a row, leaves no empty sheet.
    m_pagePending = m_pagePending || m_pageUsed;
    m_pageUsed = false;
    m_surface.setPrintPosition(0, 0);
}

void PainterReportPage::endDocument() {
    m_finished = true;
    if (m_painter.isActive() && !m_painter.end()) {
        throw PrinterError(
            QCoreApplication::translate("ReportPage", "The printer cannot finish the document"));
    }
}

void PainterReportPage::cancelDocument() {
    if (m_cancelled) {
        return;
    }
    m_finished = true;
    m_cancelled = true;
    abandon(m_painter);
}

void PainterReportPage::abandon(QPainter &painter) {
    if (painter.isActive()) {
        painter.end();
    }
}
