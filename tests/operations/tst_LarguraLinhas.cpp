// Cash-book rows and stored histories with characters outside the basic
// plane: every column is read back where it was written, the totals stay
// exact, and a history cut to its width is stored whole, never with half
// an emoji turned into "?".
#include "common/Texto.h"
#include "common/LinhaLancamento.h"
#include "operations/LivroCaixa.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QRandomGenerator>
#include <QtTest>

namespace {
const QString Sorriso = QString::fromUtf8("\xF0\x9F\x98\x80");
const QString Familia = QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
const QString Brasil = QString::fromUtf8("\xF0\x9F\x87\xA7\xF0\x9F\x87\xB7");

// Types the text into the control, an emoji as the one key event that a
// keyboard or an input method sends for it.
void digitaTudo(QWidget* w, const QString& texto) {
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (!texto[i].isHighSurrogate()) {
            Digita(w, texto.mid(i, 1));
            continue;
        }
        const QString par = texto.mid(i++, 2);
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, par, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, par, Qt::NoModifier);
    }
}
}  // namespace

class tst_LarguraLinhas : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Fecha_Tudo(); }

    void linhasLidasOndeForamEscritas() {
        const quint32 semente = QRandomGenerator::global()->generate();
        qInfo("semente %u", semente);
        QRandomGenerator g(semente);
        const QStringList pecas{"A", "Ç", "É", " ", Sorriso, Familia, Brasil, QStringLiteral("q\u0301")};
        Dinheiro entradas, saidas, esperadoE, esperadoS;
        for (int n = 0; n < 300; ++n) {
            QString historico;
            for (int k = int(g.bounded(70)); k > 0; --k) historico += pecas[int(g.bounded(int(pecas.size())))];
            const Dinheiro valor = Dinheiro::DeCentavos(g.bounded(-9999999, 9999999));
            const QString tipo = g.bounded(2) ? "O" : "S";
            const QString linha = Linha_Lancamento::Monta(tipo, 1 + int(g.bounded(31)), historico, valor);
            const Linha_Lancamento::Linha l = Linha_Lancamento::Le(linha);
            QCOMPARE(l.historico, Apara(Formata_Texto(historico, 50, "E")));
            QCOMPARE((tipo == "S" ? l.saida : l.entrada).Centavos(), valor.Centavos());
            Linha_Lancamento::Soma(linha, entradas, saidas);
            (tipo == "S" ? esperadoS : esperadoE) += valor;
        }
        QCOMPARE(entradas.Centavos(), esperadoE.Centavos());
        QCOMPARE(saidas.Centavos(), esperadoS.Centavos());
    }

    void historicosCortadosGuardamEmojiInteiro() {
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        // The outflow's history is shortened to keep its account tag; the
        // tither's name to keep the membership tag: both cuts fall on the emoji.
        amb.Sql("INSERT INTO Saidas VALUES (4567, 12, ?1)", {QString(41, 'A') + Sorriso + QString(10, 'B')});
        Inicia_Principal("MARIA")->Liv_Cx->trigger();
        auto* f = qobject_cast<LivroCaixa*>(Form::Procura("LivroCaixa"));
        QVERIFY(f);
        Roteiro::LimpaCaixas();

        QTest::mouseClick(f->OptSaidas, Qt::LeftButton);
        f->CboHistorico->setListIndex(0);
        digitaTudo(f->TxtDia, "9");
        digitaTudo(f->TxtValor, "1");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);

        QTest::mouseClick(f->OptDizimos, Qt::LeftButton);
        digitaTudo(f->CboHistorico, QString(34, 'B') + Sorriso + "CCCC");
        digitaTudo(f->TxtDia, "7");
        digitaTudo(f->TxtValor, "10");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());

        auto rs = amb.Le("SELECT Historico FROM LivroCaixa ORDER BY Tipo");
        QCOMPARE(rs->Texto("Historico"), QString(34, 'B') + Sorriso + " RI:00000000 CG");
        rs->MoveNext();
        QCOMPARE(rs->Texto("Historico"), QString(41, 'A') + Sorriso + " CT:4567");
        QCOMPARE(Linhas(f->LstLivroCx),
                 (QStringList{"D 07 CG " + QString(34, 'B') + Sorriso + " RI:00000000     10,00       ----",
                              "S 09 " + QString(41, 'A') + Sorriso + " CT:4567" + "      ----       1,00"}));
    }
};

REGISTRA_TESTE(tst_LarguraLinhas)
#include "tst_LarguraLinhas.moc"
