// The cash book's row: golden strings, read back by the same columns, and
// the totals every form computes from them.
#include "common/LinhaLancamento.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QtTest>

namespace LL = Linha_Lancamento;

class tst_LinhaLancamento : public QObject {
    Q_OBJECT

    static Dinheiro D(qint64 centavos) { return Dinheiro::DeCentavos(centavos); }

private slots:
    void linhas_douradas_e_leitura() {
        const QString sessenta = "OFERTA ESPECIAL PARA A CONSTRUÇÃO DO NOVO TEMPLO DA IGREJA XX";
        // Kind, day, history as stored, amount in cents, the row (76 characters, accents counted as one).
        const std::tuple<QString, int, QString, qint64, QString> casos[] = {
            {"D", 5, "MARIA SILVA RI:00012345 MB", 10000,
             "D 05 MB MARIA SILVA RI:00012345                            100,00       ----"},
            {"D", 31, " JOSE RI:00000000 CG", 5, "D 31 CG JOSE RI:00000000                                     0,05       ----"},
            {"S", 12, "CONTA DE LUZ CT:123", 123450, "S 12 CONTA DE LUZ CT:123                                     ----   1.234,50"},
            {"O", 7, "OFERTA DE AÇÃO DE GRAÇAS", -50, "O 07 OFERTA DE AÇÃO DE GRAÇAS                               -0,50       ----"},
            {"O", 1, sessenta, 99999999, "O 01 OFERTA ESPECIAL PARA A CONSTRUÇÃO DO NOVO TEMPLO D999.999,99       ----"},
        };
        for (const auto& [tipo, dia, historico, centavos, linha] : casos) {
            QCOMPARE(LL::De_Registro(tipo, dia, historico, D(centavos)), linha);
            const LL::Linha l = LL::Le(linha);
            QCOMPARE(l.tipo + l.dia, tipo + QString("%1").arg(dia, 2, 10, QChar('0')));
            QCOMPARE(tipo == "S" ? l.saida : l.entrada, D(centavos));
            QCOMPARE(tipo == "S" ? l.entrada : l.saida, Dinheiro());  // "----" reads as 0
            QCOMPARE(tipo == "D" ? LL::Historico_Dizimo(l) : l.historico, historico.left(50).trimmed());
        }
    }

    void totais_e_celulas_invalidas() {
        // A sector row ("I") counts both columns; a row made elsewhere
        // without thousands separators, or with a blank cell, reads too.
        Dinheiro e, s;
        for (const QString& l : {LL::Monta("O", 1, "A", D(10)), LL::Monta("S", 2, "C", D(12345678)),
                                 LL::Monta("I", 3, "CONGREGAÇÃO", D(100000), D(2550)),
                                 QString("I 04 X").leftJustified(55) + "   1234,5 " + QString(11, ' ')})
            LL::Soma(l, e, s);
        QCOMPARE(e, D(10 + 100000 + 123450));
        QCOMPARE(s, D(12345678 + 2550));

        // A cut or foreign cell is an error, never another amount.
        for (const char* celula : {"1.234.567,", "1234.56", "12,3,4"}) {
            const QString linha = QString("O 01 X").leftJustified(55) + QString(celula).rightJustified(10) + "       ----";
            QVERIFY2(ErroDe([&] { LL::Le(linha); }) == 13, celula);
        }
        // 999.999,99 and -99.999,99 fit the 10-character cell; one more digit does not.
        QCOMPARE(QList<bool>({LL::Cabe(D(99999999)), LL::Cabe(D(100000000)), LL::Cabe(D(-9999999)), LL::Cabe(D(-10000000))}),
                 QList<bool>({true, false, true, false}));
    }
};

REGISTRA_TESTE(tst_LinhaLancamento)
#include "tst_LinhaLancamento.moc"
