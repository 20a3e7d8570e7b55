#include "paciente.h"
#include "ui_paciente.h"

#include "Messages.h"
#include "StudyError.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using SubjectStore::Field;
using SubjectStore::SubjectRecord;

namespace {
const QString NoSePuedeGuardar = QStringLiteral("The subject cannot be stored.\n\n");
}

paciente::paciente(const QSqlDatabase &db, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::paciente>()), m_db(db) {
    ui->setupUi(this);
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        const int index = SubjectStore::controlIndex(static_cast<Field>(i));
        m_campos[i] = findChild<QWidget *>(QStringLiteral("txtFields_%1").arg(index));
        Q_ASSERT(m_campos[i]);
    }
    // Room for a few lines of notes, without making the window tall, and for the longest usual
    // number in each numeric field, whatever the font and scale.
    ui->txtFields_6->setFixedHeight(ui->txtFields_6->fontMetrics().lineSpacing() * 4 +
                                    2 * ui->txtFields_6->frameWidth() + 8);
    for (Field numero : {Field::ID, Field::Edad, Field::Altura, Field::Peso, Field::Filas, Field::Columnas,
                         Field::FilaCentro, Field::ColumnaCentro}) {
        QWidget *linea = campo(numero);
        linea->setMinimumWidth(linea->fontMetrics().horizontalAdvance(QStringLiteral("000000.00")));
    }
    // An empty study hides the form but keeps its place, so the window does not jump when the
    // first subject is added.
    QSizePolicy politica = ui->FPaciente->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    ui->FPaciente->setSizePolicy(politica);

    connect(ui->bAdd, &QPushButton::clicked, this, &paciente::bAdd_Click);
    connect(ui->Data1First, &QToolButton::clicked, this, [this] { mueve(Movimiento::Primero); });
    connect(ui->Data1Previous, &QToolButton::clicked, this, [this] { mueve(Movimiento::Anterior); });
    connect(ui->Data1Next, &QToolButton::clicked, this, [this] { mueve(Movimiento::Siguiente); });
    connect(ui->Data1Last, &QToolButton::clicked, this, [this] { mueve(Movimiento::Ultimo); });

    try {
        m_ids = SubjectStore::subjectIds(m_db);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
    }
    if (m_ids.isEmpty()) {
        muestraVacio();
    } else {
        muestra(0);
    }
}

paciente::~paciente() = default;

QWidget *paciente::campo(Field field) const {
    return m_campos[static_cast<std::size_t>(field)];
}

void paciente::pon(const SubjectRecord &record) {
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        if (auto *linea = qobject_cast<QLineEdit *>(m_campos[i])) {
            linea->setText(record.texts[i]);
            linea->setCursorPosition(0);
        } else if (auto *texto = qobject_cast<QPlainTextEdit *>(m_campos[i])) {
            texto->setPlainText(record.texts[i]);
        }
    }
    ui->CCiego->setChecked(record.ciego);
    m_mostrado = record;
    m_inicial = enPantalla();
}

SubjectRecord paciente::enPantalla() const {
    SubjectRecord record = m_mostrado;
    for (std::size_t i = 0; i < SubjectStore::FieldCount; ++i) {
        if (auto *linea = qobject_cast<QLineEdit *>(m_campos[i])) {
            record.texts[i] = linea->text();
        } else if (auto *texto = qobject_cast<QPlainTextEdit *>(m_campos[i])) {
            record.texts[i] = texto->toPlainText();
        }
    }
    record.ciego = ui->CCiego->isChecked();
    return record;
}

std::optional<paciente::Problema> paciente::guardaCambios() {
    const SubjectRecord editado = enPantalla();
    // Compared with what the controls showed, not with the row, so that text the controls
    // normalise (line ends of old notes) does not count as an edit.
    if (editado == m_inicial) {
        return std::nullopt;
    }
    try {
        if (auto rechazo = SubjectStore::storeSubject(m_db, m_mostrado, editado)) {
            return Problema{rechazo->message, campo(rechazo->field)};
        }
        const int id = editado[Field::ID].trimmed().toInt();
        m_ids = SubjectStore::subjectIds(m_db);
        m_posicion = m_ids.indexOf(id);
        m_nuevo = false;
        m_mostrado = editado;
        m_mostrado.storedId = id;
        m_inicial = m_mostrado;
    } catch (const StudyError &e) {
        return Problema{e.message(), nullptr};
    }
    return std::nullopt;
}

void paciente::senala(const Problema &problema) {
    if (problema.campo) {
        problema.campo->setFocus();
        if (auto *linea = qobject_cast<QLineEdit *>(problema.campo)) {
            linea->selectAll();
        }
    }
}

void paciente::mueve(Movimiento movimiento) {
    if (const auto problema = guardaCambios()) {
        Messages::error(this, NoSePuedeGuardar + problema->texto);
        senala(*problema);
        return;
    }
    if (m_ids.isEmpty()) {
        muestraVacio();
        return;
    }
    const int ultimo = static_cast<int>(m_ids.size()) - 1;
    int destino = 0;
    switch (movimiento) {
    case Movimiento::Primero:
        destino = 0;
        break;
    case Movimiento::Anterior:
        destino = m_posicion - 1;
        break;
    case Movimiento::Siguiente:
        destino = m_posicion + 1;
        break;
    case Movimiento::Ultimo:
        destino = ultimo;
        break;
    }
    // Moving before the first or after the last record stays on it.
    muestra(qBound(0, destino, ultimo));
}

void paciente::muestra(int posicion) {
    SubjectRecord record;
    try {
        record = SubjectStore::loadSubject(m_db, m_ids.at(posicion));
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    m_posicion = posicion;
    m_nuevo = false;
    pon(record);
    ui->FPaciente->show();
    Data1_Reposition();
}

void paciente::muestraVacio() {
    m_posicion = -1;
    m_nuevo = false;
    pon(SubjectRecord());
    ui->FPaciente->hide();
    Data1_Reposition();
}

void paciente::Data1_Reposition() {
    ui->Data1Caption->setText(QStringLiteral("Subjects (%1/%2)").arg(m_posicion + 1).arg(m_ids.size()));
    const bool hayRegistros = !m_ids.isEmpty();
    for (QToolButton *boton : {ui->Data1First, ui->Data1Previous, ui->Data1Next, ui->Data1Last}) {
        boton->setEnabled(hayRegistros);
    }
}

void paciente::bAdd_Click() {
    if (const auto problema = guardaCambios()) {
        Messages::error(this, NoSePuedeGuardar + problema->texto);
        senala(*problema);
        return;
    }
    SubjectRecord propuesto;
    try {
        propuesto = SubjectStore::newSubject(m_db);
    } catch (const StudyError &e) {
        Messages::error(this, e.message());
        return;
    }
    ui->FPaciente->show();
    pon(propuesto);
    m_nuevo = true;
    ui->Data1Caption->setText(QStringLiteral("New Subject"));
    for (QToolButton *boton : {ui->Data1First, ui->Data1Previous, ui->Data1Next, ui->Data1Last}) {
        boton->setEnabled(true);
    }
    campo(Field::Nombre)->setFocus();
}

void paciente::reject() {
    if (const auto problema = guardaCambios()) {
        if (!Messages::question(this, NoSePuedeGuardar + problema->texto +
                                          QStringLiteral("\n\nDiscard the changes to this subject?"))) {
            senala(*problema);
            return;
        }
    }
    QDialog::reject();
}
