#include "results/PhospheneMapWindow.h"
#include "ui_PhospheneMapWindow.h"

#include "brain/BrainError.h"
#include "core/AppState.h"
#include "core/SafeWrite.h"
#include "core/ZoDir.h"
#include "data/ServerStudy.h"
#include "data/StudyError.h"
#include "experiments/ParameterLists.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/NiftiFiles.h"
#include "mr/NormaliseDialog.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>

namespace {
const char *const BoundNames[StimulationComparison::BoundCount] = {
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "# pulses (from)"),
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "# pulses (to)"),
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "Frequency (from)"),
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "Frequency (to)"),
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "Intensity (from)"),
    QT_TRANSLATE_NOOP("PhospheneMapWindow", "Intensity (to)")};
// Size of the pictures saved.
const QSize MapSize(1000, 540);
const QSize DensitySize(560, 500);
} // namespace

PhospheneMapWindow::PhospheneMapWindow(AppState &state, const FillSubjects &fillSubjects, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PhospheneMapWindow>()), m_db(state.BaseDatos),
      m_cell(GridCells::DefaultIndex),
      m_normalise([](QWidget *parent, const QSqlDatabase &db, qint32 subject) {
          return NormaliseDialog::run(parent, db, subject);
      }) {
    ui->setupUi(this);
    ui->areaTable->setColumnCount(8);
    ui->areaTable->setHorizontalHeaderLabels({tr("Area"), tr("Subjects"), tr("Cells"), tr("Stimuli"),
                                              tr("Yes"), tr("No"), tr("Doubt"), tr("Rate")});
    ui->areaTable->verticalHeader()->hide();
    ui->areaTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_bounds = {ui->pulsesFrom,  ui->pulsesTo,      ui->frequencyFrom,
                ui->frequencyTo, ui->intensityFrom, ui->intensityTo};
    try {
        fillSubjects(ui->subjectList, m_db, state.IdPacienteActual);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    ui->subjectList->selectAll();
    ParameterLists::fill({ui->coilList, ui->pulseTypeList, ui->phaseList, ui->orientationList},
                         {tr("- Any"), tr("- Any"), tr("- Any"), tr("- Any")});

    for (QComboBox *list : {ui->coilList, ui->pulseTypeList, ui->phaseList, ui->orientationList}) {
        connect(list, &QComboBox::currentIndexChanged, this, &PhospheneMapWindow::recount);
    }
    for (QLineEdit *bound : m_bounds) {
        connect(bound, &QLineEdit::editingFinished, this, &PhospheneMapWindow::recount);
    }
    connect(ui->subjectList, &QListWidget::itemSelectionChanged, this, &PhospheneMapWindow::recount);
    connect(ui->allSubjectsButton, &QPushButton::clicked, ui->subjectList, &QListWidget::selectAll);
    const QString png = tr("PNG picture (*.png)");
    const QString nifti = tr("NIfTI volume (*.nii.gz *.nii)");
    connectSave(
        ui->saveMapButton, tr("Save the phosphene map"), [] { return QStringLiteral("phosphene-map.png"); },
        png, &PhospheneMapWindow::saveMap);
    connectSave(
        ui->saveDensityButton, tr("Save the density of the cell's drawings"),
        [this] { return QStringLiteral("density-cell-%1.png").arg(m_cell); }, png,
        &PhospheneMapWindow::saveDensity);
    connectSave(
        ui->saveNumbersButton, tr("Save the numbers of the map"),
        [] { return QStringLiteral("phosphene-map.csv"); }, tr("CSV table (*.csv)"),
        &PhospheneMapWindow::saveNumbers);
    connectSave(
        ui->saveSitesButton, tr("Save the stimulation sites"),
        [this] { return QStringLiteral("sites-subject-%1.tsv").arg(m_calibration->subjectId); },
        tr("TSV table (*.tsv)"), &PhospheneMapWindow::saveSites);
    connectSave(
        ui->saveOverlayButton, tr("Save the sites as an overlay of the MR"),
        [this] { return QStringLiteral("sites-subject-%1.nii.gz").arg(m_calibration->subjectId); }, nifti,
        &PhospheneMapWindow::saveOverlay);
    connectSave(
        ui->saveGroupMapButton, tr("Save the group map"), [] { return QStringLiteral("group-map.nii.gz"); },
        nifti, &PhospheneMapWindow::saveGroupMap);
    connect(ui->normaliseButton, &QPushButton::clicked, this, [this] {
        if (m_toNormalise && m_normalise(this, m_db, *m_toNormalise)) {
            recount();
        }
    });
    connect(ui->depthBox, &QSpinBox::valueChanged, this, [this] {
        updateMr();
        updateBrain();
    });
    connect(ui->viewTabs, &QTabWidget::currentChanged, this, [this] {
        ui->depthBox->setEnabled(ui->viewTabs->currentWidget() != ui->gridTab);
        if (ui->viewTabs->currentWidget() == ui->mrTab) {
            loadMr();
        }
        showMr();
        updateBrain();
    });
    ui->depthBox->setEnabled(false);
    connect(ui->closeButton, &QPushButton::clicked, this, &QDialog::close);
    ui->mapPicture->installEventFilter(this);
    ui->mrPicture->installEventFilter(this);
    ui->brainPicture->installEventFilter(this);
    recount();
}

PhospheneMapWindow::~PhospheneMapWindow() = default;

PhospheneMap::Selection PhospheneMapWindow::selection() const {
    StimulationComparison::Conditions conditions;
    conditions.openBounds = true;
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        conditions.bounds[std::size_t(i)] = m_bounds[std::size_t(i)]->text();
    }
    conditions.coil = ParameterLists::code(ui->coilList);
    conditions.pulseType = ParameterLists::code(ui->pulseTypeList);
    conditions.pulsePhase = ParameterLists::code(ui->phaseList);
    conditions.orientation = ParameterLists::code(ui->orientationList);
    PhospheneMap::Selection s{StimulationComparison::buildFilter(conditions), {}};
    for (const QListWidgetItem *item : ui->subjectList->selectedItems()) {
        s.subjects << item->data(Qt::UserRole).toInt();
    }
    return s;
}

void PhospheneMapWindow::recount() {
    const PhospheneMap::Selection s = selection();
    QStringList problems;
    for (int i = 0; i < StimulationComparison::BoundCount; ++i) {
        const QString &problem = s.filter.problems[std::size_t(i)];
        m_bounds[std::size_t(i)]->setToolTip(problem);
        m_bounds[std::size_t(i)]->setAccessibleDescription(problem);
        if (!problem.isEmpty()) {
            problems << tr(BoundNames[i]) + QStringLiteral(": ") + problem;
        }
    }
    m_counts = PhospheneMap::Counts();
    m_density = PhospheneMap::Density();
    m_usable = false;
    if (!problems.isEmpty()) {
        ui->warningLabel->setText(problems.join(QLatin1Char('\n')) +
                                  tr("\nThe map waits until the bounds are whole numbers or empty."));
    } else if (s.subjects.isEmpty()) {
        ui->warningLabel->setText(tr("Choose one subject or more."));
    } else {
        try {
            m_counts = PhospheneMap::count(m_db, s);
            m_density = PhospheneMap::density(m_db, s, m_cell);
            m_usable = true;
            ui->warningLabel->clear();
        } catch (const StudyError &e) {
            ui->warningLabel->setText(e.message());
        }
    }
    const int mapped = m_counts.total() - m_counts.offGrid;
    ui->summaryLabel->setText(
        m_usable ? tr("%1 stimuli of %2 subjects on the map%3. Each cell: phosphene rate, stimuli (n), "
                      "answers yes/no/doubt.")
                       .arg(mapped)
                       .arg(s.subjects.size())
                       .arg(m_counts.offGrid > 0 ? tr("; %1 more count for no cell").arg(m_counts.offGrid)
                                                 : QString())
                 : QString());
    for (QPushButton *button : {ui->saveMapButton, ui->saveDensityButton, ui->saveNumbersButton}) {
        button->setEnabled(m_usable);
    }
    updateMr();
    updateBrain();
    showMap();
    showDensity();
}

void PhospheneMapWindow::setCalibrationReader(ReadCalibration read) {
    m_readCalibration = std::move(read);
    updateMr();
    updateBrain();
}

void PhospheneMapWindow::setNormaliser(Normaliser normalise) {
    m_normalise = std::move(normalise);
}

void PhospheneMapWindow::updateBrain() {
    m_group.reset();
    m_marks.clear();
    m_brainMark = -1;
    m_brainProblem.clear();
    m_toNormalise.reset();
    if (m_usable) {
        try {
            m_toNormalise = BrainView::nextToNormalise(m_db, selection().subjects, m_readCalibration);
        } catch (const StudyError &e) {
            m_brainProblem = e.message();
        }
    }
    ui->normaliseButton->setEnabled(m_toNormalise.has_value());
    ui->normaliseButton->setText(m_toNormalise ? tr("No&rmalise subject %1...").arg(*m_toNormalise)
                                               : tr("No&rmalise..."));
    if (ui->viewTabs->currentWidget() == ui->brainTab) {
        computeBrain();
    }
    ui->saveGroupMapButton->setEnabled(m_usable);
    showBrain();
}

bool PhospheneMapWindow::computeBrain() {
    if (m_group) {
        return true;
    }
    if (!m_usable) {
        m_brainProblem = tr("The map has nothing to show yet.");
        return false;
    }
    const PhospheneMap::Selection s = selection();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        if (!m_template) {
            m_template = BrainTemplate::find();
        }
        if (!m_head) {
            m_head.emplace(*m_template);
        }
        GroupMap::Options options;
        options.subjects = s.subjects;
        options.depthMm = ui->depthBox->value();
        options.filter = s.filter;
        m_group = GroupMap::compute(m_db, options, *m_template);
        m_marks = m_head->marks(m_group->targets);
    } catch (const BrainError &e) {
        m_brainProblem = e.message();
    } catch (const StudyError &e) {
        m_brainProblem = e.message();
    }
    QApplication::restoreOverrideCursor();
    ui->areaTable->setRowCount(0);
    if (!m_group) {
        return false;
    }
    ui->areaTable->setRowCount(int(m_group->areas.size()));
    for (int row = 0; row < m_group->areas.size(); ++row) {
        const GroupMap::AreaRow &a = m_group->areas[row];
        const QStringList cells = QStringList{a.area} + GroupMap::countTexts(a) +
                                  QStringList{QStringLiteral("%1 %").arg(a.rate * 100, 0, 'f', 0)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                               : Qt::AlignRight | Qt::AlignVCenter);
            ui->areaTable->setItem(row, column, item);
        }
    }
    if (m_group->targets.isEmpty()) {
        m_brainProblem = tr("None of the chosen subjects is normalised, or none of their cells has stimuli "
                            "of this type. A calibrated subject is normalised with Normalise....");
    }
    return true;
}

void PhospheneMapWindow::showBrain() {
    QStringList said;
    if (m_group) {
        QSet<qint32> subjects;
        for (const GroupMap::Target &t : m_group->targets) {
            subjects.insert(t.subjectId);
        }
        said << tr("%1 targets of %2 subjects in MNI space.")
                    .arg(m_group->targets.size())
                    .arg(subjects.size());
        if (!m_group->leftOut.isEmpty()) {
            said << tr("Left out: %1").arg(m_group->leftOut.join(QStringLiteral("; ")));
        }
    }
    ui->brainLabel->setText(said.join(QLatin1Char(' ')));
    if (m_group && m_head && !m_marks.isEmpty()) {
        QString selected;
        if (m_brainMark >= 0) {
            const GroupMap::Target &t = m_group->targets[m_brainMark];
            selected = tr("subject %1, cell %2").arg(t.subjectId).arg(t.cell);
            if (!t.area.isEmpty()) {
                selected += QStringLiteral(", ") + t.area;
            }
        }
        ui->brainPicture->setPixmap(
            QPixmap::fromImage(m_head->view().render(m_marks, m_brainMark, selected,
                                                     tr("%1 template seen from behind; targets %2 mm deep")
                                                         .arg(m_template->name)
                                                         .arg(ui->depthBox->value()),
                                                     ui->brainPicture->contentsRect().size())));
    } else {
        ui->brainPicture->setPixmap(QPixmap());
        ui->brainPicture->setText(m_brainProblem);
    }
}

bool PhospheneMapWindow::saveGroupMap(const QString &path) {
    if (!computeBrain()) {
        Messages::error(this, m_brainProblem);
        return false;
    }
    QString why;
    if (!NiftiFiles::write(path, m_group->rate, &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}

void PhospheneMapWindow::updateMr() {
    const PhospheneMap::Selection s = selection();
    std::optional<SubjectCalibration::Record> calibration;
    m_mrProblem.clear();
    if (!m_usable) {
        m_mrProblem = tr("The map has nothing to show yet.");
    } else if (s.subjects.size() != 1) {
        m_mrProblem = tr("Choose one subject to see its targets on its MR.");
    } else {
        try {
            calibration = m_readCalibration(m_db, s.subjects.first());
            if (!calibration) {
                m_mrProblem = tr("Subject %1 has no stored MR calibration: load its associated MR and accept "
                                 "the point selection.")
                                  .arg(s.subjects.first());
            }
        } catch (const StudyError &e) {
            m_mrProblem = e.message();
        }
    }
    const auto same = [](const std::optional<SubjectCalibration::Record> &a,
                         const std::optional<SubjectCalibration::Record> &b) {
        return a.has_value() == b.has_value() &&
               (!a || (a->subjectId == b->subjectId && a->series == b->series &&
                       a->seriesNumber == b->seriesNumber && a->accepted == b->accepted));
    };
    if (!same(calibration, m_calibration)) {
        m_mr.reset();
        m_mrView = SitesPicture::View();
    }
    m_calibration = calibration;
    m_sites.reset();
    if (m_mr) {
        try {
            m_sites = m_mr->sites(ui->depthBox->value(), m_counts);
        } catch (const ImagingError &e) {
            m_mrProblem = e.message();
        }
    }
    ui->saveSitesButton->setEnabled(m_calibration.has_value());
    ui->saveOverlayButton->setEnabled(m_calibration.has_value());
    if (m_calibration && !m_mr && ui->viewTabs->currentWidget() == ui->mrTab) {
        loadMr();
    }
    showMr();
}

bool PhospheneMapWindow::loadMr() {
    if (!m_calibration) {
        return false;
    }
    if (!m_mr) {
        auto mr = std::make_unique<StimulationSites::SubjectMr>();
        QString why;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool loaded = mr->load(*m_calibration, &why);
        QApplication::restoreOverrideCursor();
        if (!loaded) {
            m_mrProblem = why;
            showMr();
            return false;
        }
        m_mr = std::move(mr);
        m_mrView = SitesPicture::View(m_mr->volume(), m_mr->state().Incremento);
        updateMr();
    }
    return m_sites.has_value();
}

void PhospheneMapWindow::showMr() {
    if (m_sites && !m_mrView.isNull()) {
        ui->mrPicture->setPixmap(
            QPixmap::fromImage(m_mrView.render(*m_sites, m_cell, ui->mrPicture->contentsRect().size())));
        const QString missing = noScalpWarning(StimulationSites::missingCells(*m_sites));
        ui->mrLabel->setText(
            tr("Subject %1: targets on the straight line to the head centre.").arg(m_calibration->subjectId) +
            (missing.isEmpty() ? QString() : QLatin1Char(' ') + missing));
        ui->mrPicture->setAccessibleDescription(ui->mrLabel->text());
    } else {
        ui->mrPicture->setPixmap(QPixmap());
        ui->mrPicture->setText(m_mrProblem);
        // A screen reader reads the description, not what is painted.
        ui->mrPicture->setAccessibleDescription(m_mrProblem);
        ui->mrLabel->clear();
    }
}

void PhospheneMapWindow::setCell(int cell) {
    if (!GridCells::isValid(cell) || cell == m_cell) {
        return;
    }
    m_cell = cell;
    showMr();
    m_density = PhospheneMap::Density();
    if (m_usable) {
        try {
            m_density = PhospheneMap::density(m_db, selection(), m_cell);
        } catch (const StudyError &e) {
            ui->warningLabel->setText(e.message());
        }
    }
    showMap();
    showDensity();
}

void PhospheneMapWindow::showMap() {
    ui->mapPicture->setPixmap(
        QPixmap::fromImage(PhospheneMap::renderMap(m_counts, m_cell, ui->mapPicture->contentsRect().size())));
}

void PhospheneMapWindow::showDensity() {
    m_density.cell = m_cell;
    ui->densityPicture->setPixmap(QPixmap::fromImage(
        PhospheneMap::renderDensity(m_density, ui->densityPicture->contentsRect().size())));
    const PhospheneMap::CellCounts &c = m_counts.cells[std::size_t(m_cell)];
    ui->cellLabel->setText(tr("Cell %1: %2 stimuli, %3 yes, %4 no, %5 doubt; %6 drawings.")
                               .arg(m_cell)
                               .arg(c.stimuli)
                               .arg(c.yes)
                               .arg(c.no)
                               .arg(c.doubt)
                               .arg(m_density.drawings));
}

void PhospheneMapWindow::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    showMap();
    showDensity();
    showMr();
    showBrain();
}

bool PhospheneMapWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->mapPicture) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            setCell(
                PhospheneMap::mapGeometry(ui->mapPicture->contentsRect().size()).cellAt(mouse->position()));
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            static const std::map<int, GridCells::Direction> keys = {
                {Qt::Key_Up, GridCells::Direction::Up},
                {Qt::Key_Down, GridCells::Direction::Down},
                {Qt::Key_Left, GridCells::Direction::Left},
                {Qt::Key_Right, GridCells::Direction::Right}};
            const auto found = keys.find(static_cast<QKeyEvent *>(event)->key());
            if (found != keys.end()) {
                setCell(GridCells::neighbour(m_cell, found->second));
                return true;
            }
        }
    }
    // A picture that comes into view on its tab gets its size only then.
    if (event->type() == QEvent::Resize) {
        if (watched == ui->mapPicture) {
            showMap();
        } else if (watched == ui->mrPicture) {
            showMr();
        } else if (watched == ui->brainPicture) {
            showBrain();
        }
    }
    if (watched == ui->brainPicture && event->type() == QEvent::MouseButtonPress && m_head && m_group) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int mark =
            m_head->view().markAt(m_marks, mouse->position(), ui->brainPicture->contentsRect().size());
        if (mark >= 0) {
            m_brainMark = mark;
            setCell(m_group->targets[mark].cell);
            showBrain();
        }
        return true;
    }
    if (watched == ui->mrPicture && event->type() == QEvent::MouseButtonPress && m_sites) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        setCell(m_mrView.cellAt(*m_sites, mouse->position(), ui->mrPicture->contentsRect().size()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PhospheneMapWindow::connectSave(QPushButton *button, const QString &title,
                                     const std::function<QString()> &suggested, const QString &filter,
                                     bool (PhospheneMapWindow::*save)(const QString &)) {
    connect(button, &QPushButton::clicked, this, [this, title, suggested, filter, save] {
        const QString path = chooseFile(title, suggested(), filter);
        if (!path.isEmpty()) {
            (this->*save)(path);
        }
    });
}

QString PhospheneMapWindow::chooseFile(const QString &title, const QString &name, const QString &filter) {
    const QString folder =
        ServerStudy::isServer(m_db) ? QDir::homePath() : ZoDir::DirectorioFichero(m_db.databaseName());
    QFileDialog dialog(this, title, ZoDir::UneRuta(folder, name), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(name.section(QLatin1Char('.'), -1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

bool PhospheneMapWindow::saveMap(const QString &path) {
    QString why;
    if (!SafeWrite::writeImage(path, PhospheneMap::renderMap(m_counts, m_cell, MapSize), "PNG", &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}

bool PhospheneMapWindow::saveDensity(const QString &path) {
    QString why;
    if (!SafeWrite::writeImage(path, PhospheneMap::renderDensity(m_density, DensitySize), "PNG", &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}

bool PhospheneMapWindow::saveNumbers(const QString &path) {
    QString why;
    if (!SafeWrite::writeBytes(path, PhospheneMap::csv(m_counts), &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}

bool PhospheneMapWindow::saveSites(const QString &path) {
    if (!loadMr()) {
        Messages::error(this, m_mrProblem);
        return false;
    }
    QString why;
    if (!SafeWrite::writeBytes(path, StimulationSites::tsv(*m_sites), &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}

bool PhospheneMapWindow::saveOverlay(const QString &path) {
    if (!loadMr()) {
        Messages::error(this, m_mrProblem);
        return false;
    }
    QString why;
    if (!NiftiFiles::write(path, StimulationSites::overlay(*m_sites, m_mr->volume()), &why)) {
        Messages::error(this, why);
        return false;
    }
    return true;
}
