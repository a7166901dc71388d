#include "Progresso.h"
#include "Tela.h"
#include <QAbstractButton>
#include <QLabel>
#include <algorithm>
#include <iterator>

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

// "#,###" written backwards to end at `fim`: a point between thousands
// whatever the machine's locale, and no digit at all for zero. By hand: a
// run formats it every row.
char16_t* Milhares(char16_t* fim, qint64 v) {
    char16_t* p = fim;
    quint64 a = v < 0 ? 0 - quint64(v) : quint64(v);
    for (int k = 0; a != 0; ++k, a /= 10) {
        if (k > 0 && k % 3 == 0) *--p = u'.';
        *--p = char16_t(u'0' + a % 10);
    }
    if (v < 0) *--p = u'-';
    return p;
}

// "###%" of num / den: the whole percentage, "%" alone for zero.
qint64 Pct(qint64 num, qint64 den) { return ArredondaPar(num * 100, den); }
QString Porcento(qint64 p) { return (p == 0 ? QString() : QString::number(p)) + QLatin1Char('%'); }

QString Contagem(qint64 atual, qint64 total) {
    static constexpr char16_t Sufixo[] = u" Registro(s)";
    constexpr qsizetype TamanhoSufixo = std::size(Sufixo) - 1;
    char16_t b[64];
    char16_t* fim = b + 64 - TamanhoSufixo;
    std::copy(Sufixo, Sufixo + TamanhoSufixo, fim);
    char16_t* p = Milhares(fim, total);
    *--p = u'/';
    p = Milhares(p, atual);
    return QString(reinterpret_cast<const QChar*>(p), b + 64 - p);
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

template <class Texto>
void Progresso::poeSeMudou(const QPointer<QLabel>& rotulo, Visto& visto, qint64 valor, Texto texto) {
    if (!rotulo) return;
    // The label still holds the very text this run gave it for this value:
    // nothing to format. Any other text there (another run's, a reset) is
    // replaced.
    if (visto.valor == valor && rotulo->text().isSharedWith(visto.texto)) return;
    rotulo->setText(texto());
    visto = {valor, rotulo->text()};
}

void Progresso::Linha(int i, int n) {
    const qint64 ultima = qint64(n) - 1;
    // A single row is the whole run: a full bar, no division.
    const bool fim = ultima <= 0 || i >= ultima;
    const qint64 barra = fim ? kBarraMes : ArredondaPar(qint64(i) * kBarraMes, ultima);
    poeSeMudou(barra_, barraVista_, barra, [&] { return Barra(barra); });
    poe(contagem_, Contagem(qint64(i) + 1, n));
    if (!fim) {
        const qint64 p = Pct(i, ultima);
        poeSeMudou(percentual_, percentualVisto_, p, [&] { return Porcento(p); });
    }
}

void Progresso::Conclui() {
    poe(percentual_, QStringLiteral("100%"));
    poe(barra_, Barra(kBarraMes));
}

void Progresso::Registro(qint64 atual, qint64 total) {
    if (total <= 0) return;
    poe(contagem_, Contagem(atual, total));
    const qint64 barra = ArredondaPar(atual * kBarraRegistros, total), p = Pct(atual, total);
    poeSeMudou(barra_, barraVista_, barra, [&] { return Barra(barra); });
    poeSeMudou(percentual_, percentualVisto_, p, [&] { return Porcento(p); });
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
