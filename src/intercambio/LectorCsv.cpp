#include "intercambio/LectorCsv.h"

#include <QStringDecoder>
#include <array>

namespace corvela {

namespace {

// Windows-1252 where it differs from Latin-1: the bytes 0x80 to 0x9F. The five
// bytes it leaves undefined keep their Latin-1 control characters.
constexpr std::array<char16_t, 32> kWindows1252{0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DeWindows1252(const QByteArray& bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar* destino = texto.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *destino++ = QChar(b >= 0x80 && b <= 0x9F ? kWindows1252[b - 0x80] : char16_t(b));
    }
    return texto;
}

} // namespace

QString DecodificarCsv(const QByteArray& bytes, bool* windows1252)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8(bytes);
    const bool latino = utf8.hasError();
    if (latino)
        texto = DeWindows1252(bytes);
    else if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    if (windows1252)
        *windows1252 = latino;
    return texto;
}

bool RegistroCsv::Vacio() const
{
    for (const QString& campo : Campos) {
        if (!campo.trimmed().isEmpty())
            return false;
    }
    return !ComillasSinCerrar;
}

bool LectorCsv::Siguiente(RegistroCsv& registro)
{
    if (pos_ >= texto_.size())
        return false;
    registro.Linea = linea_;
    registro.Campos.clear();
    registro.ComillasSinCerrar = false;
    for (;;) {
        registro.Campos << (texto_[pos_] == u'"' ? CampoCitado(registro) : CampoLlano());
        if (pos_ >= texto_.size())
            return true;
        const QChar fin = texto_[pos_++];
        if (fin == separador_) {
            if (pos_ >= texto_.size()) {
                registro.Campos << QString();
                return true;
            }
            continue;
        }
        if (fin == u'\r' && pos_ < texto_.size() && texto_[pos_] == u'\n')
            ++pos_;
        ++linea_;
        return true;
    }
}

QString LectorCsv::CampoLlano()
{
    const qsizetype inicio = pos_;
    while (pos_ < texto_.size()) {
        const QChar c = texto_[pos_];
        if (c == separador_ || c == u'\r' || c == u'\n')
            break;
        ++pos_;
    }
    return texto_.mid(inicio, pos_ - inicio);
}

// A field between quotes; whatever follows its closing quote up to the next
// separator or line end is kept as part of it, as spreadsheets do.
QString LectorCsv::CampoCitado(RegistroCsv& registro)
{
    QString campo;
    ++pos_;
    for (;;) {
        const qsizetype comilla = texto_.indexOf(u'"', pos_);
        const qsizetype hasta = comilla < 0 ? texto_.size() : comilla;
        campo += QStringView(texto_).mid(pos_, hasta - pos_);
        ContarLineas(pos_, hasta);
        if (comilla < 0) {
            pos_ = texto_.size();
            registro.ComillasSinCerrar = true;
            return campo;
        }
        pos_ = comilla + 1;
        if (pos_ < texto_.size() && texto_[pos_] == u'"') {
            campo += u'"';
            ++pos_;
            continue;
        }
        return campo + CampoLlano();
    }
}

void LectorCsv::ContarLineas(qsizetype desde, qsizetype hasta)
{
    for (qsizetype i = desde; i < hasta; ++i) {
        const QChar c = texto_[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 >= texto_.size() || texto_[i + 1] != u'\n')))
            ++linea_;
    }
}

} // namespace corvela
