#include "printing/MolduraA4.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "printing/Celulas.h"
#include "printing/TrabalhoImpressao.h"
#include <algorithm>
#include <cmath>

namespace {
const QString Impresso = QStringLiteral("impresso.kwe");
constexpr int LarguraCelula = 12;
}  // namespace

MolduraA4::MolduraA4(const QString& nome, const QString& deslocaEsquerda, const QString& deslocaTopo, Rodape rodape)
    : nome_(nome), deslocaEsquerda_(deslocaEsquerda), deslocaTopo_(deslocaTopo), rodape_(rodape) {}

float MolduraA4::Deslocamento(const QString& texto) { return float(Val(texto)); }

namespace {
// The right edge of a money cell at x that must end a character before `ate`.
double Direita_Celula(double x, double ate, double avanco) {
    return std::min(x + LarguraCelula * avanco, ate - avanco);
}
}  // namespace

double MolduraA4::Inicio_Valor(double x, Dinheiro valor, double ate) {
    const double a = Avanco_Caractere();
    return Direita_Celula(x, ate, a) - double(Caracteres::Conta(valor.Formata())) * a;
}

void MolduraA4::Imprime_Valor(double x, double y, Dinheiro valor, double ate) {
    const double a = Avanco_Caractere();
    Imprime_Direita(Direita_Celula(x, ate, a) - LarguraCelula * a, y, valor.Formata(), LarguraCelula);
}

int MolduraA4::Cabem(double x, double ate) { return Cabem_Ate(x, ate - Avanco_Caractere()); }

QString MolduraA4::Digitos(qint64 n, int largura) { return QStringLiteral("%1").arg(n, largura, 10, QLatin1Char('0')); }

void MolduraA4::Imprime_Igreja_Mes(double xAno, const QString& pagina) {
    Imprime_Texto(25, 25, Param[3], 12);
    Imprime_Texto(130, 25, Param[1] + QLatin1Char('-') + Param[4]);
    Imprime_Texto(25, 32, Nome_Mes(int(std::floor(Valor_Numerico(Apara(Param[9])))), {}));
    Imprime_Texto(xAno, 32, Param[10]);
    Imprime_Texto(180, 32, pagina);
}

bool MolduraA4::Imprime_Mov_Mensal() {
    return Imprime_Trabalho(Titulo_Mes(nome_, Param[9], Param[10]), [this] { Imprime_Documento(); },
                            [this] {
                                Prepara();
                                // Decoded once per print: every page draws this one image.
                                impresso_ = Le_Figura(Impresso);
                            });
}

void MolduraA4::Imprime_Documento() {
    Prepara_A4(false, Deslocamento(deslocaTopo_), Deslocamento(deslocaEsquerda_));
    Impressora().setFontSize(12);

    Pinta_Impresso();
    Pagina = 1;
    Lin = PrimeiraLinha;
    Tot_Entradas = Tot_Saidas = Dinheiro();
    Imprime_Cabec(Pagina);
    Imprime_Corpo();
    Imprime_Rodape();
}

void MolduraA4::Pinta_Impresso() { Impressora().PaintPicture(impresso_, 5, 5, 200, 280); }

void MolduraA4::Incrementa_Lin(const QString& Quebra) {
    Lin = float(double(Lin) + Passo);
    if (Quebra == QLatin1String("S")) Checa_Lin();
}

void MolduraA4::Checa_Lin() {
    if (!(Lin > Limite)) return;
    Imprime_Rodape();
    Impressora().NewPage();
    Pinta_Impresso();
    Lin = PrimeiraLinha;
    ++Pagina;
    Imprime_Cabec(Pagina);
    Imprime_Texto(12, Lin, QStringLiteral("--"));
    Imprime_Texto(25, Lin, QStringLiteral("TRANSPORTE DE SALDO DA PÁGINA ") + Digitos(Pagina - 1, 2));
    Imprime_Valor(144, Lin, Tot_Entradas, Inicio_Valor(172, Tot_Saidas));
    Imprime_Valor(172, Lin, Tot_Saidas);
    Incrementa_Lin(QStringLiteral("N"));
}

void MolduraA4::Imprime_Rodape() {
    Imprime_Valor(144, 220, Tot_Entradas);
    Imprime_Valor(172, 226, Tot_Saidas);
    if (rodape_ == Rodape::Departamento) Imprime_Valor(144, 250, Tot_Entradas - Tot_Saidas);
    const QDate hoje = Relogio::Hoje();
    Imprime_Texto(14, 264, hoje.toString(QStringLiteral("dd")));
    Imprime_Texto(32, 264, hoje.toString(QStringLiteral("MM")));
    Imprime_Texto(48, 264, hoje.toString(QStringLiteral("yyyy")));
    Imprime_Texto(rodape_ == Rodape::Departamento ? 179 : 178, 280, QStringLiteral("Tavrelo"), 7);
}
