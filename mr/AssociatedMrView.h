#pragma once

#include <QPointer>

class AppState;
class FResonancia;
class ImagingState;
class QWidget;

// What an experiment window's check box "View magnetic resonance" (CRM) does: checked, the
// associated MR window opens beside the experiment window, owned by it, and is aimed at the
// selected cell; unchecked, it closes. The experiment window then calls update() on each grid
// selection.
class AssociatedMrView {
public:
    AssociatedMrView(AppState &app, ImagingState &imaging, QWidget *owner);
    ~AssociatedMrView();
    AssociatedMrView(const AssociatedMrView &) = delete;
    AssociatedMrView &operator=(const AssociatedMrView &) = delete;

    // CRM click.
    void CRM_Click(bool checked, int cell);
    // A grid cell was selected: aims the window at it when it is open.
    void update(int cell);

    FResonancia *window() const;

private:
    AppState &m_app;
    ImagingState &m_imaging;
    QWidget *m_owner;
    QPointer<FResonancia> m_window;
};
