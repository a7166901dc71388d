#pragma once
// Progress and cancel of the long runs (the check and the send of the
// month, the register download, the backup): the texts of their three
// progress labels, a cancel flag set by the cancel button's click, and one
// run at a time in the whole program.
#include "platform/Tela.h"
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>

class QAbstractButton;
class QLabel;

// Whether a run is going on anywhere in the program; the main window greys
// the menu items that would start another one.
class Execucao : public QObject {
    Q_OBJECT
public:
    static Execucao* Estado();
    static bool EmCurso();

signals:
    void Mudou(bool emCurso);
};

// One run, from its creation to its destruction, whatever way its scope is
// left (an error included), so the program never stays marked as running.
// A run starts only when no other is going on; while it goes, its start
// button is disabled, and a click on its cancel button sets the flag.
//
//     Progresso run(LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela);
//     if (!run.Iniciado()) return;
class Progresso {
public:
    static constexpr int PassosBackup = 72;
    // The longest bars: the month's check and send, the register download.
    static constexpr int BarraMes = 73;
    static constexpr int BarraRegistros = 35;

    // A label may be null where the form has none (the backup shows no
    // count); without a cancel button the run cannot be cancelled.
    Progresso(QLabel* contagem, QLabel* percentual, QLabel* barra, QAbstractButton* inicia,
              QAbstractButton* cancela = nullptr);
    ~Progresso();
    Progresso(const Progresso&) = delete;
    Progresso& operator=(const Progresso&) = delete;

    // False when another run was already going on: this one never started
    // and touched nothing.
    bool Iniciado() const { return iniciado_; }
    bool Cancelado() const { return cancelado_; }

    // The check and the send of the month, after row i (from 0) of n: the
    // count "3/25 Registro(s)", a bar of up to 73 "=" and the percentage
    // "###%" ("%" alone at the first row); the last row leaves the
    // percentage as it was.
    void Linha(int i, int n);
    // A whole check or send done: "100%" and the full bar of 73.
    void Conclui();
    // The register download, after row `atual` (from 1) of `total`: its
    // count, its percentage and a bar of up to 35.
    void Registro(qint64 atual, qint64 total);
    // The backup, after step 1 to 72: its percentage and one "=" per step.
    void Passo(int passo);
    // "0 Registro(s)", "0%" and an empty bar.
    void Limpa();

    // Lets the window system deliver pending events, the cancel click among
    // them, at most once a frame: fast rows are not bound by painting, and a
    // click waits no longer than a frame and a row.
    void Eventos();

private:
    void poe(const QPointer<QLabel>& rotulo, const QString& texto);
    // The bar and the percentage change every few dozen rows: their texts
    // are made only when their value changes.
    struct Visto {
        qint64 valor = -1;
        QString texto;
    };
    template <class Texto>
    void poeSeMudou(const QPointer<QLabel>& rotulo, Visto& visto, qint64 valor, Texto texto);
    Visto barraVista_, percentualVisto_;

    QPointer<QLabel> contagem_, percentual_, barra_;
    QPointer<QAbstractButton> inicia_;
    bool iniciaHabilitado_ = true;
    bool iniciado_ = false;
    bool cancelado_ = false;
    QMetaObject::Connection clique_;
    Por_Quadro quadro_;
};
