#include "informe/frmListados.h"

#include "core/AjusteFormulario.h"
#include "core/CursorEspera.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "informe/VisorLibreta.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>
#include <utility>

namespace corvela {

namespace {

constexpr int kLargoDescripcionPdf = 60;

// Where a new file is proposed: the user's documents folder, or the home folder
// when the desktop has none.
QString CarpetaDocumentos()
{
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documentos).isDir() ? documentos : QDir::homePath();
}

// A work's description made fit for a file name on any system.
QString ParaNombreFichero(const QString& texto)
{
    QString nombre = texto.left(kLargoDescripcionPdf);
    for (QChar& c : nombre) {
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u' ';
    }
    return nombre.simplified();
}

} // namespace

void frmListados::Mostrar(ListadoObra registros)
{
    frmListados* ventana = Instancia();
    ventana->Cargar(std::move(registros));
    ventana->setWindowState((ventana->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    ventana->MostrarPrincipio();
}

frmListados::frmListados()
{
    setObjectName(QStringLiteral("frmListados"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Corvela Geoda"));
    // Shown maximized; restored, it keeps within the screen's free area and its frame.
    const QScreen* pantalla = screen();
    resize(pantalla ? QSize(900, 640).boundedTo(pantalla->availableGeometry().size() - kMarcoVentana)
                    : QSize(900, 640));

    rptCorvela::PrepararPagina(impresora_);
    impresora_.setDocName(QStringLiteral("Libreta de campo"));
    InformeObra.FijarOrigen(&RegistrosListado);
    InformeObra.FijarImagen(QImage(RutaRecurso(QStringLiteral("imagen/CORVELAX.JPG"))));

    CRViewer1 = new VisorLibreta(impresora_, this);
    CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
    CrearBarra();
    // A line of its own under the page, never hidden in the toolbar's overflow on a small screen.
    RutaGuardada = new QLabel(this);
    RutaGuardada->setObjectName(QStringLiteral("RutaGuardada"));
    RutaGuardada->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RutaGuardada->setContentsMargins(6, 3, 6, 3);
    RutaGuardada->hide();

    auto* disposicion = new QVBoxLayout(this);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setSpacing(0);
    disposicion->addWidget(Toolbar1);
    disposicion->addWidget(CRViewer1, 1);
    disposicion->addWidget(RutaGuardada);
}

void frmListados::CrearBarra()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto accion = [this](const QString& nombre, const QString& texto, const QKeySequence& atajo, auto metodo) {
        QAction* a = Toolbar1->addAction(texto);
        a->setObjectName(nombre);
        a->setShortcut(atajo);
        connect(a, &QAction::triggered, this, metodo);
    };
    accion(QStringLiteral("Imprimir"), QStringLiteral("&Imprimir..."), QKeySequence::Print, &frmListados::Imprimir);
    accion(QStringLiteral("GuardarPdf"), QStringLiteral("&Guardar PDF..."), QKeySequence::Save,
           &frmListados::GuardarPdf);
    Toolbar1->addSeparator();
    accion(QStringLiteral("Alejar"), QStringLiteral("Alejar"), QKeySequence::ZoomOut, [this] { CRViewer1->Alejar(); });
    accion(QStringLiteral("Acercar"), QStringLiteral("Acercar"), QKeySequence::ZoomIn,
           [this] { CRViewer1->Acercar(); });
    accion(QStringLiteral("TamanoReal"), QStringLiteral("100 %"), QKeySequence(),
           [this] { CRViewer1->FijarZoom(1.0); });
    accion(QStringLiteral("AjustarAncho"), QStringLiteral("Ancho de página"), QKeySequence(),
           [this] { CRViewer1->AjustarAncho(); });
    accion(QStringLiteral("PaginaEntera"), QStringLiteral("Página entera"), QKeySequence(),
           [this] { CRViewer1->PaginaEntera(); });
}

void frmListados::Cargar(ListadoObra registros)
{
    CursorEspera espera;
    RegistrosListado = std::move(registros);
    InformeObra.FijarDecimales(NumDecimales);
    InformeObra.FijarFecha(QDate::currentDate());
    CRViewer1->Mostrar(InformeObra);
    CRViewer1->FijarZoom(1.0);
    MostrarPrincipio();
}

QString frmListados::NombrePdf() const
{
    QString nombre = QStringLiteral("Libreta obra");
    if (RegistrosListado.HayObra()) {
        nombre += u' ' + QString::number(RegistrosListado.Obra().codigo);
        const QString descripcion = ParaNombreFichero(RegistrosListado.Obra().descripcion);
        if (!descripcion.isEmpty())
            nombre += QStringLiteral(" - ") + descripcion;
    }
    return QDir(CarpetaDocumentos()).filePath(nombre + QStringLiteral(".pdf"));
}

void frmListados::MostrarPrincipio()
{
    // A report is read from the top left corner of its first page.
    CRViewer1->IrAlPrincipio();
}

void frmListados::ConProgreso(const std::function<void(const rptCorvela&)>& tarea)
{
    CursorEspera espera;
    // Application-modal: printing again from the works card would replace the rows
    // and lay the preview out anew from inside this drawing.
    QProgressDialog progreso(QStringLiteral("Preparando la libreta de campo..."), QString(), 0, 1, this);
    progreso.setWindowTitle(QStringLiteral("Corvela Geoda"));
    progreso.setWindowModality(Qt::ApplicationModal);
    progreso.setMinimumDuration(500);
    progreso.setAutoClose(false);
    progreso.setAutoReset(false);
    rptCorvela informe = InformeObra;
    informe.Progreso = [&progreso](int hechas, int total) {
        progreso.setMaximum(total);
        progreso.setValue(hechas);
    };
    tarea(informe);
}

void frmListados::Imprimir()
{
    if (Dialogos().ElegirImpresora(impresora_))
        ConProgreso([this](const rptCorvela& informe) { informe.Imprimir(impresora_); });
}

void frmListados::GuardarPdf()
{
    std::optional<QString> ruta = Dialogos().GuardarFichero(QStringLiteral("Guardar como PDF"), NombrePdf(),
                                                            QStringLiteral("Documentos PDF (*.pdf)"));
    if (!ruta)
        return;
    if (QFileInfo(*ruta).suffix().isEmpty())
        *ruta += QStringLiteral(".pdf");
    bool guardado = false;
    ConProgreso([&](const rptCorvela& informe) { guardado = informe.GuardarPdf(*ruta); });
    if (!guardado) {
        Dialogos().MsgBox(QStringLiteral("No se pudo guardar el fichero:") + SaltoDoble + *ruta, Icono::Exclamacion);
        return;
    }
    RutaGuardada->setText(QStringLiteral("Guardado en ") + QDir::toNativeSeparators(*ruta));
    RutaGuardada->show();
}

} // namespace corvela
