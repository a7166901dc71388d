#include "printing/FolhaDizimistas.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "platform/Printer.h"
#include "printing/TrabalhoImpressao.h"

QString Folha_Dizimistas::Centraliza(const QString& texto) {
    return Formata_Texto(texto, Largura, QStringLiteral("C"));
}

bool Folha_Dizimistas::Imprime_Dizimistas() {
    return Imprime_Trabalho(titulo_, [this] { Imprime_Documento(); }, [this] { Prepara(); });
}

void Folha_Dizimistas::Imprime_Documento() {
    Prepara_A4(false, 0, 0);
    Impressora().setFontSize(12);

    Pagina = 1;
    Y = Topo;
    Imprime_Cabec(Pagina);
    Imprime_Corpo();
    Imprime_Rodape();
}

void Folha_Dizimistas::Imprime_Regua(double y) { Imprime_Texto(7, y, QString(Largura, QLatin1Char('~'))); }

void Folha_Dizimistas::Imprime_Cabec_Igreja(const QString& titulo, qint16 iNumPag) {
    Imprime_Texto(7, 8, QString(Largura, QLatin1Char('~')), 12);
    Imprime_Texto(7, 13, Centraliza(Param[2]));
    Imprime_Texto(7, 18, Centraliza(Param[3] + QStringLiteral(" - ") + Param[4]));
    Imprime_Texto(7, 23, Centraliza(titulo));
    Imprime_Texto(185, 23, QStringLiteral("Pág. %1").arg(iNumPag, 2, 10, QLatin1Char('0')));
}

void Folha_Dizimistas::Imprime_Rodape() {
    Imprime_Regua(280);
    Imprime_Texto(7, 285, Centraliza(QStringLiteral("Uma Obra de fé!")));
    Imprime_Texto(180, 286, QStringLiteral("Tavrelo"), 7);
}

void Folha_Dizimistas::Proxima_Linha() { Y = float(double(Y) + Passo); }

void Folha_Dizimistas::Checa_Lin() {
    if (!(Y > Quebra)) return;
    Imprime_Rodape();
    Impressora().NewPage();
    ++Pagina;
    Imprime_Cabec(Pagina);
    Y = Topo;
}

void Folha_Dizimistas::Imprime_Versiculo(const QString& terceira) {
    if (!(Y < LimiteVersiculo)) return;
    const QString linhas[] = {
        QStringLiteral("E  digo  isto:  Que  o  que  semeia  pouco  pouco  também  ceifará;"),
        QStringLiteral("E  o  que  semeia  em  abundância  em  abundância  também  ceifará."),
        terceira,
        QStringLiteral("tristeza ou por necessidade; porque Deus ama ao que dá com alegria."),
        QStringLiteral("II Corintios 9 v 6,7"),
    };
    Y = float(double(Y) + 8);
    Imprime_Texto(7, Y, Centraliza(linhas[0]));
    for (int i = 1; i < 5; ++i) {
        Proxima_Linha();
        Imprime_Texto(7, Y, Centraliza(linhas[i]));
    }
}
