// Draws the 36 toolbar bitmaps b<button>_<state>.bmp into the folder given as
// the only argument. States: 1 disabled, 2 normal, 3 hovered, 4 pressed.
// Built only with -DCORVELA_HERRAMIENTAS=ON; run with `cmake --build build --target imagenes`.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <array>
#include <cmath>
#include <functional>

namespace {

constexpr int kAncho = 42; // 630 by 450 twips
constexpr int kAlto = 30;
constexpr int kLado = 24; // icons are drawn on a 24 by 24 grid

const QColor kCara(239, 239, 239);
const QColor kCaraEncima(250, 250, 255);
const QColor kCaraPulsada(214, 214, 220);
const QColor kContorno(60, 60, 70);

QPen Trazo(const QColor& color = kContorno, double ancho = 1.0)
{
    QPen pen(color, ancho);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QPolygonF Poligono(std::initializer_list<QPointF> puntos)
{
    return QPolygonF(QVector<QPointF>(puntos));
}

void Hoja(QPainter& p, const QColor& papel)
{
    p.setPen(Trazo());
    p.setBrush(papel);
    p.drawPolygon(Poligono({{5.5, 1.5}, {15, 1.5}, {19.5, 6}, {19.5, 22.5}, {5.5, 22.5}}));
    p.setBrush(QColor(200, 200, 205));
    p.drawPolygon(Poligono({{15, 1.5}, {15, 6}, {19.5, 6}}));
}

void NuevaHoja(QPainter& p)
{
    Hoja(p, Qt::white);
    // A small star: a new, empty sheet.
    QPainterPath estrella;
    const QPointF c(6, 6);
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 5.0 : 2.0;
        const double a = M_PI / 2 + i * M_PI / 5;
        const QPointF punto(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        i == 0 ? estrella.moveTo(punto) : estrella.lineTo(punto);
    }
    estrella.closeSubpath();
    p.setPen(Trazo(QColor(170, 120, 0), 0.8));
    p.setBrush(QColor(255, 210, 40));
    p.drawPath(estrella);
}

void CarpetaAbierta(QPainter& p)
{
    p.setPen(Trazo(QColor(120, 80, 10)));
    p.setBrush(QColor(210, 160, 40));
    p.drawPolygon(Poligono({{1.5, 5.5}, {8, 5.5}, {10, 7.5}, {19.5, 7.5}, {19.5, 20.5}, {1.5, 20.5}}));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 9.5, 13, 6));
    p.setBrush(QColor(255, 205, 70));
    p.drawPolygon(Poligono({{5, 11.5}, {23, 11.5}, {19, 20.5}, {1.5, 20.5}}));
}

void Disquete(QPainter& p)
{
    p.setPen(Trazo(QColor(20, 40, 90)));
    p.setBrush(QColor(45, 95, 180));
    p.drawPolygon(Poligono({{2.5, 2.5}, {19, 2.5}, {21.5, 5}, {21.5, 21.5}, {2.5, 21.5}}));
    p.setBrush(QColor(205, 210, 220));
    p.drawRect(QRectF(7.5, 2.5, 9, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 95, 180));
    p.drawRect(QRectF(12.5, 3.5, 2.5, 5));
    p.setPen(Trazo(QColor(20, 40, 90)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 12.5, 13, 9));
    p.setPen(Trazo(QColor(120, 130, 160), 0.8));
    p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
    p.drawLine(QPointF(7.5, 18.5), QPointF(16.5, 18.5));
}

void Lupa(QPainter& p)
{
    p.setPen(Trazo(QColor(110, 60, 20), 4));
    p.drawLine(QPointF(15, 15), QPointF(21.5, 21.5));
    p.setPen(Trazo(QColor(50, 50, 60), 2.2));
    p.setBrush(QColor(175, 215, 245));
    p.drawEllipse(QPointF(10, 10), 7, 7);
    p.setPen(Trazo(Qt::white, 1.5));
    p.drawArc(QRectF(5.5, 5.5, 9, 9), 100 * 16, 70 * 16);
}

void Impresora(QPainter& p)
{
    p.setPen(Trazo());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 1.5, 11, 9));
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 10), 2, 2);
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(5.5, 14.5, 13, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 16.5, 11, 6));
    p.setPen(Trazo(QColor(120, 120, 130), 0.8));
    p.drawLine(QPointF(8.5, 19), QPointF(15.5, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 200, 60));
    p.drawEllipse(QPointF(18.5, 11.5), 1.3, 1.3);
}

void Papelera(QPainter& p)
{
    p.setPen(Trazo(QColor(40, 50, 70)));
    p.setBrush(QColor(130, 150, 175));
    p.drawPolygon(Poligono({{5.5, 7.5}, {18.5, 7.5}, {17, 22.5}, {7, 22.5}}));
    p.setPen(Trazo(QColor(40, 50, 70), 1.0));
    for (double x : {9.5, 12.0, 14.5})
        p.drawLine(QPointF(x, 10), QPointF(x, 20));
    p.setBrush(QColor(100, 120, 145));
    p.drawRoundedRect(QRectF(3.5, 4.5, 17, 3), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(9.5, 2, 5, 2.5));
}

void Goma(QPainter& p)
{
    p.setPen(Trazo(QColor(90, 90, 100), 1));
    p.drawLine(QPointF(2, 21.5), QPointF(22, 21.5));
    p.save();
    p.translate(12, 12);
    p.rotate(-35);
    p.setPen(Trazo(QColor(120, 40, 60)));
    p.setBrush(QColor(245, 140, 160));
    p.drawRoundedRect(QRectF(-10, -4, 11, 8), 1.5, 1.5);
    p.setPen(Trazo(QColor(20, 40, 110)));
    p.setBrush(QColor(60, 110, 210));
    p.drawRoundedRect(QRectF(1, -4, 9, 8), 1.5, 1.5);
    p.restore();
}

void PaginaTexto(QPainter& p)
{
    p.setPen(Trazo());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 15, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 190));
    p.drawRect(QRectF(5, 2, 14, 4));
    p.setPen(Trazo(QColor(70, 70, 80), 1.2));
    for (int i = 0; i < 5; ++i) {
        const double y = 9 + i * 2.8;
        p.drawLine(QPointF(7, y), QPointF(i == 4 ? 12.5 : 17, y));
    }
}

void FlechaAtras(QPainter& p)
{
    p.setPen(Trazo(QColor(20, 90, 30)));
    p.setBrush(QColor(60, 175, 70));
    p.drawPolygon(Poligono({{1.5, 12}, {11, 3.5}, {11, 8}, {21.5, 8}, {21.5, 16}, {11, 16}, {11, 20.5}}));
}

const std::array<std::function<void(QPainter&)>, 9> kIconos{
    NuevaHoja, CarpetaAbierta, Disquete, Lupa, Impresora, Papelera, Goma, PaginaTexto, FlechaAtras};

QImage Icono(int boton)
{
    QImage icono(kAncho, kAlto, QImage::Format_ARGB32_Premultiplied);
    icono.fill(Qt::transparent);
    QPainter p(&icono);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate((kAncho - kLado) / 2.0, (kAlto - kLado) / 2.0);
    kIconos[boton](p);
    return icono;
}

// Washed-out grey, as a disabled button shows its picture.
QImage Apagado(const QImage& icono)
{
    QImage gris = icono.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < gris.height(); ++y) {
        auto* fila = reinterpret_cast<QRgb*>(gris.scanLine(y));
        for (int x = 0; x < gris.width(); ++x) {
            const int alfa = qAlpha(fila[x]);
            const int tono = 150 + qGray(fila[x]) * 35 / 100;
            fila[x] = qRgba(tono, tono, tono, alfa);
        }
    }
    return gris;
}

void Bisel(QPainter& p, bool hundido)
{
    const QColor claro = Qt::white;
    const QColor oscuro(140, 140, 150);
    const QColor &arribaIzq = hundido ? oscuro : claro, &abajoDer = hundido ? claro : oscuro;
    p.setPen(arribaIzq);
    p.drawLine(0, 0, kAncho - 1, 0);
    p.drawLine(0, 0, 0, kAlto - 1);
    p.setPen(abajoDer);
    p.drawLine(0, kAlto - 1, kAncho - 1, kAlto - 1);
    p.drawLine(kAncho - 1, 0, kAncho - 1, kAlto - 1);
}

QImage Boton(int boton, int estado)
{
    QImage imagen(kAncho, kAlto, QImage::Format_RGB32);
    imagen.fill(estado == 3 ? kCaraEncima : estado == 4 ? kCaraPulsada : kCara);
    QPainter p(&imagen);
    const QImage icono = Icono(boton);
    if (estado == 1)
        p.drawImage(0, 0, Apagado(icono));
    else
        p.drawImage(estado == 4 ? 1 : 0, estado == 4 ? 1 : 0, icono);
    if (estado >= 3)
        Bisel(p, estado == 4);
    return imagen;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication aplicacion(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "uso: generar-imagenes CARPETA\n";
        return 2;
    }
    const QDir carpeta(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(carpeta.path())) {
        err << "no se puede crear " << carpeta.path() << "\n";
        return 1;
    }
    for (int boton = 0; boton < static_cast<int>(kIconos.size()); ++boton) {
        for (int estado = 1; estado <= 4; ++estado) {
            const QString ruta = carpeta.filePath(QStringLiteral("b%1_%2.bmp").arg(boton).arg(estado));
            if (!Boton(boton, estado).convertToFormat(QImage::Format_RGB888).save(ruta, "BMP")) {
                err << "no se puede escribir " << ruta << "\n";
                return 1;
            }
        }
    }
    return 0;
}
