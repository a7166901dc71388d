// A tithe's history in its typed, shown and stored forms, and a tither's
// register row: golden texts, and each form read back as it was built.
#include "common/Dizimo.h"
#include "support/Registro.h"
#include <QtTest>

namespace HD = Historico_Dizimo;
namespace LD = Linha_Dizimista;

class tst_Dizimo : public QObject {
    Q_OBJECT

private slots:
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
        QTest::addColumn<QVariant>("abreviado");  // null: positions not shown
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QVariant>("cargo");      // null: no position
        QTest::addColumn<QString>("linha");
        QTest::newRow("sem cargos") << QVariant() << "JOÃO DA SILVA" << QVariant(6)
                                    << "    JOÃO DA SILVA" + QString(38, ' ') + "00012345" + QString(13, ' ') + "6";
        QTest::newRow("com cargo") << QVariant("PR") << "ANA" << QVariant(1)
                                   << "PR. ANA" + QString(48, ' ') + "00012345" + QString(13, ' ') + "1";
        QTest::newRow("abreviado nulo") << QVariant("") << "ANA" << QVariant()
                                        << ".   ANA" + QString(48, ' ') + "00012345" + QString(14, ' ');
        QTest::newRow("codigo grande") << QVariant("MB") << QString(50, 'N') << QVariant(Q_INT64_C(1099511627779))
                                       << "MB. " + QString(50, 'N') + " 00012345  1099511627779";  // kept whole
    }
    void linhaDizimista() {
        QFETCH(QVariant, abreviado);
        QFETCH(QString, nome);
        QFETCH(QVariant, cargo);
        QFETCH(QString, linha);
        const QString l = LD::Monta(abreviado.isNull() ? std::nullopt : std::optional(abreviado.toString()), nome,
                                    "00012345", cargo.isNull() ? std::nullopt : std::optional(cargo.toLongLong()));
        QCOMPARE(l, linha);
        const LD::Linha lida = LD::Le(l);
        QCOMPARE(lida.nome, nome);
        QCOMPARE(lida.ri, QString("00012345"));
        QCOMPARE(lida.cargo.has_value(), !cargo.isNull());
        QCOMPARE(lida.cargo.value_or(-1), cargo.isNull() ? qint64(-1) : cargo.toLongLong());
    }
};

REGISTRA_TESTE(tst_Dizimo)
#include "tst_Dizimo.moc"
