#include "Progresso.h"
#include "Tela.h"
#include <QAbstractButton>
#include <QLabel>
#include <QLocale>

namespace {
bool g_emCurso = false;

constexpr qint64 kBarraMes = Progresso::BarraMes;
constexpr qint64 kBarraRegistros = Progresso::BarraRegistros;

// num / den to the nearest whole number, halves to the even one; computed
// on whole numbers, so a bar at exactly half way (36.5 of 73) is not tipped
// either way by a binary fraction. num >= 0, den > 0.
qint64 ArredondaPar(qint64 num, qint64 den) {
    const qint64 q = num / den;
    const qint64 r = num % den;
    return (2 * r > den || (2 * r == den && (q & 1))) ? q + 1 : q;
}

// "#,###": a point between thousands whatever the machine's locale, and no
// digit at all for zero.
QString Milhares(qint64 v) {
    static const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    return v == 0 ? QString() : brasil.toString(v);
}

// "###%" of num / den: the whole percentage, "%" alone for zero.
QString Porcento(qint64 num, qint64 den) {
    const qint64 p = ArredondaPar(num * 100, den);
    return (p == 0 ? QString() : QString::number(p)) + QLatin1Char('%');
}

QString Contagem(qint64 atual, qint64 total) {
    return Milhares(atual) + QLatin1Char('/') + Milhares(total) + QStringLiteral(" Registro(s)");
}

QString Barra(qint64 tamanho) { return QString(qMax<qint64>(tamanho, 0), QLatin1Char('=')); }
}  // namespace

Execucao* Execucao::Estado() {
    // Never destroyed: menus may still be told of a run's end while the
    // program closes.
    static Execucao* estado = new Execucao();
    return estado;
}

bool Execucao::EmCurso() { return g_emCurso; }

Progresso::Progresso(QLabel* contagem, QLabel* percentual, QLabel* barra, QAbstractButton* inicia,
                     QAbstractButton* cancela)
    : contagem_(contagem), percentual_(percentual), barra_(barra), inicia_(inicia) {
    if (g_emCurso) return;
    g_emCurso = true;
    iniciado_ = true;
    if (inicia) {
        iniciaHabilitado_ = inicia->isEnabled();
        inicia->setEnabled(false);
    }
    if (cancela) clique_ = QObject::connect(cancela, &QAbstractButton::clicked, [this] { cancelado_ = true; });
    emit Execucao::Estado()->Mudou(true);
}

Progresso::~Progresso() {
    if (!iniciado_) return;
    QObject::disconnect(clique_);
    if (inicia_) inicia_->setEnabled(iniciaHabilitado_);
    g_emCurso = false;
    emit Execucao::Estado()->Mudou(false);
}

void Progresso::poe(const QPointer<QLabel>& rotulo, const QString& texto) {
    if (rotulo) rotulo->setText(texto);
}

void Progresso::Linha(int i, int n) {
    const qint64 ultima = qint64(n) - 1;
    // A single row is the whole run: a full bar, no division.
    const bool fim = ultima <= 0 || i >= ultima;
    poe(barra_, Barra(fim ? kBarraMes : ArredondaPar(qint64(i) * kBarraMes, ultima)));
    poe(contagem_, Contagem(qint64(i) + 1, n));
    if (!fim) poe(percentual_, Porcento(i, ultima));
}

void Progresso::Conclui() {
    poe(percentual_, QStringLiteral("100%"));
    poe(barra_, Barra(kBarraMes));
}

void Progresso::Registro(qint64 atual, qint64 total) {
    if (total <= 0) return;
    poe(contagem_, Contagem(atual, total));
    poe(barra_, Barra(ArredondaPar(atual * kBarraRegistros, total)));
    poe(percentual_, Porcento(atual, total));
}

void Progresso::Passo(int passo) {
    // Not "###%": every step shows its digits.
    poe(percentual_, QString::number(ArredondaPar(qint64(passo) * 100, PassosBackup)) + QLatin1Char('%'));
    poe(barra_, Barra(passo));
}

void Progresso::Limpa() {
    poe(contagem_, QStringLiteral("0 Registro(s)"));
    poe(percentual_, QStringLiteral("0%"));
    poe(barra_, QString());
}

void Progresso::Eventos() {
    if (quadro_.Agora()) DoEvents();
}
