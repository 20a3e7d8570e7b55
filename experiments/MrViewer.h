#pragma once

#include <functional>
#include <memory>

class QWidget;

// What an experiment window's check box "View magnetic resonance" (CRM) opens: a view of the
// subject's MR aimed at the selected grid cell. The experiment windows only know this interface;
// the main window passes them a maker for the associated MR window.
class MrViewer {
public:
    virtual ~MrViewer() = default;
    // CRM click: checked opens the view aimed at the cell, unchecked closes it.
    virtual void CRM_Click(bool checked, int cell) = 0;
    // A grid cell was selected: aims the view at it when it is open.
    virtual void update(int cell) = 0;
};

// Makes the viewer of an experiment window, owned by that window; empty when there is none.
using MrViewerMaker = std::function<std::unique_ptr<MrViewer>(QWidget *owner)>;
