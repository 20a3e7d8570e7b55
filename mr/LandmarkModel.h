#pragma once

// The point selection's landmark mode without widgets: which landmark a left click places (point 1
// or 2 of the calibration distance, chosen on the tool bar, or the Ilion after "Select Inion
// Point"), and whether OK may close the window (only once the Ilion has been placed).
class LandmarkModel {
public:
    // The landmark the next click places; its number is the one ImagingState::PonReferencia takes.
    enum Landmark { None = 0, Point1 = 1, Point2 = 2, Ilion = 3 };

    // The tool bar buttons: exactly the button of the mode is down.
    bool point1Down() const { return m_mode == Point1; }
    bool point2Down() const { return m_mode == Point2; }

    // Toolbar1Button1 / Toolbar1Button2 pressed: the next clicks place that point.
    void choosePoint(Landmark point) { m_mode = point; }
    // bIlion pressed: the tool bar buttons come up and the next clicks place the Ilion.
    void chooseIlion() { m_mode = Ilion; }

    // The landmark a click with `button` places (1 is the left button; no other places anything).
    Landmark landmarkFor(int button) const { return button == 1 ? m_mode : None; }
    // A landmark was placed in the imaging state.
    void placed(Landmark landmark) { m_ilionPlaced = m_ilionPlaced || landmark == Ilion; }

    // OK is refused with "Select the Ilion Point" until the Ilion has been placed.
    bool canAccept() const { return m_ilionPlaced; }

private:
    Landmark m_mode = None;
    bool m_ilionPlaced = false;
};
