// The cash book's row, a tithe's history in its typed, shown and stored
// forms, and a tither's register row: golden strings, each read back as it
// was built, and the totals every form computes from the cash book's rows.
#include "common/Dizimo.h"
#include "common/LinhaLancamento.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace LL = Linha_Lancamento;
namespace HD = Historico_Dizimo;
namespace LD = Linha_Dizimista;

namespace {
// Kind, day, history as stored, amount in cents, the row (76 characters, accents counted as one).
// Positions shown (none: not shown), name, position code, the row.
struct Dizimista { std::optional<QString> abreviado; QString nome; std::optional<qint64> cargo; QString linha; };
struct Dourada { QString tipo; int dia; QString historico; qint64 centavos; QString linha; };
Dinheiro D(qint64 centavos) { return Dinheiro::DeCentavos(centavos); }
}  // namespace

class tst_LinhaLancamento : public QObject {
    Q_OBJECT

private slots:
    void linhaDourada_data() {
        const QString sessenta = "OFERTA ESPECIAL PARA A CONSTRUÇÃO DO NOVO TEMPLO DA IGREJA XX";
        Tabela<Dourada>({
            {"dízimo: cargo à frente", {"D", 5, "MARIA SILVA RI:00012345 MB", 10000,
                                        "D 05 MB MARIA SILVA RI:00012345                            100,00       ----"}},
            {"dízimo de cinco centavos", {"D", 31, " JOSE RI:00000000 CG", 5,
                                          "D 31 CG JOSE RI:00000000                                     0,05       ----"}},
            {"saída com milhar", {"S", 12, "CONTA DE LUZ CT:123", 123450,
                                  "S 12 CONTA DE LUZ CT:123                                     ----   1.234,50"}},
            {"oferta negativa acentuada", {"O", 7, "OFERTA DE AÇÃO DE GRAÇAS", -50,
                                           "O 07 OFERTA DE AÇÃO DE GRAÇAS                               -0,50       ----"}},
            {"histórico cortado, maior valor", {"O", 1, sessenta, 99999999,
                                                "O 01 OFERTA ESPECIAL PARA A CONSTRUÇÃO DO NOVO TEMPLO D999.999,99       ----"}},
        });
    }
    void linhaDourada() {
        QFETCH(Dourada, caso);
        QCOMPARE(LL::De_Registro(caso.tipo, caso.dia, caso.historico, D(caso.centavos)), caso.linha);
        const LL::Linha l = LL::Le(caso.linha);
        QCOMPARE(l.tipo, caso.tipo);
        QCOMPARE(l.dia, QString("%1").arg(caso.dia, 2, 10, QChar('0')));
        const bool saida = caso.tipo == "S";
        QCOMPARE((saida ? l.saida : l.entrada).Centavos(), caso.centavos);
        QCOMPARE((saida ? l.entrada : l.saida).Centavos(), 0);  // "----" reads as 0
        QCOMPARE(caso.tipo == "D" ? LL::Historico_Dizimo(l) : l.historico, caso.historico.left(50).trimmed());
    }

    void idaEVoltaAleatoria() {
        // Whatever fits the cell reads back as the amount it was made from, in its own column.
        QRandomGenerator g = Gerador_Semeado();
        for (int i = 0; i < 2000; ++i) {
            const qint64 c = g.bounded(qint64(-9'999'999), qint64(100'000'000));
            const QString tipo = QString("DOS").at(g.bounded(3));
            const QString linha = LL::Monta(tipo, 1 + g.bounded(31), "HISTORICO", D(c));
            QCOMPARE(linha.mid(tipo == "S" ? 66 : 55, 10), D(c).Formata().rightJustified(10));
            const LL::Linha l = LL::Le(linha);
            QCOMPARE((tipo == "S" ? l.saida : l.entrada).Centavos(), c);
            QCOMPARE((tipo == "S" ? l.entrada : l.saida).Centavos(), 0);
        }
    }

    void totais() {
        // A sector row ("I") counts both columns; a row made elsewhere
        // without thousands separators, or with a blank cell, reads too.
        Dinheiro e, s;
        for (const QString& l : {LL::Monta("O", 1, "A", D(10)), LL::Monta("S", 2, "C", D(12345678)),
                                 LL::Monta("I", 3, "CONGREGAÇÃO", D(100000), D(2550)),
                                 QString("I 04 X").leftJustified(55) + "   1234,5 " + QString(11, ' ')})
            LL::Soma(l, e, s);
        QCOMPARE(e.Centavos(), 10 + 100000 + 123450);
        QCOMPARE(s.Centavos(), 12345678 + 2550);
        // 999.999,99 and -99.999,99 fit the 10-character cell; one more digit does not.
        QVERIFY(LL::Cabe(D(99999999)));
        QVERIFY(!LL::Cabe(D(100000000)));
        QVERIFY(LL::Cabe(D(-9999999)));
        QVERIFY(!LL::Cabe(D(-10000000)));
    }

    void valorQueNaoCabe_data() {
        // Kind, amount in cents, the row's last 21 characters.
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<qint64>("centavos");
        QTest::addColumn<QString>("fim");
        QTest::newRow("um milhão") << "O" << qint64(100000000) << "##########       ----";
        QTest::newRow("doze milhões") << "D" << qint64(1234567890) << "##########       ----";
        QTest::newRow("saída de menos cem mil") << "S" << qint64(-10000000) << "      ---- ##########";
        QTest::newRow("menos um milhão") << "O" << qint64(-99999999) << "##########       ----";
    }
    void valorQueNaoCabe() {
        // Never a cut figure that reads as another amount; the reader refuses the cell.
        QFETCH(QString, tipo);
        QFETCH(qint64, centavos);
        QFETCH(QString, fim);
        const QString l = LL::Monta(tipo, 9, "H", D(centavos));
        QCOMPARE(l.size(), qsizetype(LL::Largura));
        QCOMPARE(l.right(21), fim);
        QCOMPARE(ErroDe([&] { LL::Le(l); }), 13L);
        Dinheiro e, s;
        QCOMPARE(ErroDe([&] { LL::Soma(l, e, s); }), 13L);
    }

    void celulaInvalida_data() {
        QTest::addColumn<QString>("celula");
        QTest::newRow("cortada depois da vírgula") << "1.234.567,";
        QTest::newRow("ponto decimal") << "1234.56";
        QTest::newRow("valor que não cabe") << "##########";
    }
    void celulaInvalida() {
        // A cut or foreign cell is an error, never another amount.
        QFETCH(QString, celula);
        QCOMPARE(ErroDe([&] { LL::Le(QString("O 01 X").leftJustified(55) + celula.rightJustified(10) + "       ----"); }), 13L);
    }

    void historico_data() {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<QString>("exibido");  // empty: refused
        const QString nome = "MARIA APARECIDA DOS SANTOS NASCIMENTO DE OLIVEIRA";
        QTest::newRow("so o nome") << "jose" << "CG jose RI:00000000";
        QTest::newRow("item do cadastro") << "ANA LIMA RI:00000451 DC" << "DC ANA LIMA RI:00000451";
        QTest::newRow("cargo no meio") << "ANA MB LIMA RI:00000451 MB" << "MB ANA LIMA RI:00000451";
        QTest::newRow("cargo dentro de palavra") << "ANA PRADO RI:00000001 PR" << "PR ANA PRADO RI:00000001";
        QTest::newRow("sem cargo") << "ANA LIMA RI:00000451" << "CG ANA LIMA RI:00000451";
        QTest::newRow("nome longo encurtado") << nome + " RI:00012345 MB" << "MB " + nome.left(35) + " RI:00012345";
        QTest::newRow("etiqueta longa demais") << "RI:" + QString(46, '1') << QString();
    }
    void historico() {
        QFETCH(QString, digitado);
        QFETCH(QString, exibido);
        const auto s = HD::Exibido_Do_Digitado(digitado);
        QCOMPARE(s.value_or(QString()), exibido);
        if (!s) return;
        QVERIFY(s->size() <= HD::Largura);
        // Stored and shown again, and typed again from the stored form (a
        // correction), the history does not change.
        const QString armazenado = HD::Armazenado(*s);
        QCOMPARE(armazenado.right(3), " " + s->left(2));
        QCOMPARE(HD::Exibido(armazenado), *s);
        QCOMPARE(HD::Exibido_Do_Digitado(armazenado).value_or(QString()), *s);
    }

    void pontoNoRI() {
        QCOMPARE(HD::RI_Com_Ponto("JOSE RI:1.234"), true);
        QCOMPARE(HD::RI_Com_Ponto("J. SILVA RI:1234"), false);  // a point before the tag is the name's
        QCOMPARE(HD::RI_Com_Ponto("J. SILVA"), false);
    }

    void linhaDizimista_data() {
        const QString ri = "00012345";
        Tabela<Dizimista>({
            {"sem cargos", {std::nullopt, "JOÃO DA SILVA", 6, "    JOÃO DA SILVA" + QString(38, ' ') + ri + QString(13, ' ') + "6"}},
            {"com cargo", {"PR", "ANA", 1, "PR. ANA" + QString(48, ' ') + ri + QString(13, ' ') + "1"}},
            {"abreviado nulo", {"", "ANA", std::nullopt, ".   ANA" + QString(48, ' ') + ri + QString(14, ' ')}},
            {"codigo grande mantido inteiro", {"MB", QString(50, 'N'), 1099511627779, "MB. " + QString(50, 'N') + " 00012345  1099511627779"}},
        });
    }
    void linhaDizimista() {
        QFETCH(Dizimista, caso);
        const QString l = LD::Monta(caso.abreviado, caso.nome, "00012345", caso.cargo);
        QCOMPARE(l, caso.linha);
        const LD::Linha lida = LD::Le(l);
        QCOMPARE(lida.nome, caso.nome);
        QCOMPARE(lida.ri, QString("00012345"));
        QCOMPARE(lida.cargo, caso.cargo);
    }
};

REGISTRA_TESTE(tst_LinhaLancamento)
#include "tst_LinhaLancamento.moc"
