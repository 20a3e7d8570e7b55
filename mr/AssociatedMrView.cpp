#include "mr/AssociatedMrView.h"

#include "mr/FResonancia.h"

AssociatedMrView::AssociatedMrView(AppState &app, ImagingState &imaging, QWidget *owner)
    : m_app(app), m_imaging(imaging), m_owner(owner) {}

AssociatedMrView::~AssociatedMrView() {
    if (m_window) {
        m_window->cierra();
        delete m_window;
    }
}

void AssociatedMrView::CRM_Click(bool checked, int cell) {
    if (!checked) {
        if (m_window) {
            m_window->cierra();
            m_window->deleteLater();
        }
        return;
    }
    if (!m_window) {
        m_window = new FResonancia(m_app, m_imaging, m_owner);
    }
    m_window->show();
    m_window->actualiza_resonancia(cell, m_owner);
}

void AssociatedMrView::update(int cell) {
    if (m_window && m_window->isVisible()) {
        m_window->actualiza_resonancia(cell, m_owner);
    }
}

FResonancia *AssociatedMrView::window() const {
    return m_window;
}
