#include "printing/ImpressaoRecibo.h"
#include "common/Formularios.h"
#include "common/Texto.h"
#include "platform/Printer.h"
#include "printing/Celulas.h"
#include "printing/TrabalhoImpressao.h"
#include <QImage>

namespace {
constexpr double BordaFigura = 205;  // the picture's right edge on the page
constexpr double XValor = 156;
constexpr int LarguraValor = 12;
const double YItens[] = {77, 84, 91.5, 99};

void Desenha(const Recibo_Impresso& r, const QImage& figura) {
    Prepara_A4(false, 0, 0);
    Printer& p = Impressora();
    p.setFontSize(12);
    p.PaintPicture(figura, 5, 5, 200, 143);

    const QString C = QStringLiteral("C"), E = QStringLiteral("E");
    // The number and the total twice over, for a darker print.
    Imprime_Texto(46, 44.5, r.numero, 14);
    Imprime_Texto(46, 44.5, r.numero);
    Imprime_Texto(108, 44.5, r.codigo);
    Imprime_Direita(XValor, 44.5, r.total, LarguraValor);
    Imprime_Direita(XValor, 44.5, r.total, LarguraValor);
    Imprime_Texto(25, 54.5, r.eu);
    Imprime_Texto(150, 54.5, Formata_Texto(r.cpf, 17, C));
    // What does not fit before the picture's edge stays off the paper's margin.
    Imprime_Texto(17, 67.5, Corta_Ate(17, Formata_Texto(r.congregacao, 100, E), BordaFigura));
    for (size_t i = 0; i < 4; ++i) {
        Imprime_Texto(22, YItens[i], Formata_Texto(r.textos[i], 50, E));
        Imprime_Direita(XValor, YItens[i], r.valores[i], LarguraValor);
    }
    Imprime_Texto(68, 117.5, r.dia);
    Imprime_Texto(87, 117.5, Formata_Texto(r.mes, 13, C));
    Imprime_Texto(136, 117.5, r.ano);
    Imprime_Texto(168, 142, QStringLiteral("Tavrelo"), 7);
}
}  // namespace

bool Imprime_Recibo(const Recibo_Impresso& r) {
    QImage figura;
    return Imprime_Trabalho(QStringLiteral("Recibo ") + Apara(r.numero), [&] { Desenha(r, figura); },
                            [&] { figura = Le_Figura(QStringLiteral("recibo.kwe")); });
}
