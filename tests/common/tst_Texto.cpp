// Text, key and field helpers, and the Brazilian number rules.
#include "common/Numeros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QTest>

class tst_Texto : public QObject {
    Q_OBJECT

private slots:
    void formata_texto() {
        const QString abc = QStringLiteral("ABC");
        QCOMPARE(Formata_Texto(abc, 6, QStringLiteral("D")), QStringLiteral("   ABC"));
        QCOMPARE(Formata_Texto(abc, 6, QStringLiteral("C")), QStringLiteral(" ABC  "));
        QCOMPARE(Formata_Texto(abc, 6, QStringLiteral("E")), QStringLiteral("ABC   "));
        QCOMPARE(Formata_Texto(abc, 7, QStringLiteral("C")), QStringLiteral("  ABC  "));
        for (const char* a : {"D", "C", "E"}) {
            QCOMPARE(Formata_Texto(abc, 2, QString::fromLatin1(a)), QStringLiteral("AB"));
            QCOMPARE(Formata_Texto(abc, 3, QString::fromLatin1(a)), abc);
            QCOMPARE(Formata_Texto(abc, 0, QString::fromLatin1(a)), QString());
        }
        // Measured in characters, a decomposed accent counting once.
        QCOMPARE(Formata_Texto(QStringLiteral("SA\u0303O"), 5, QStringLiteral("D")), QStringLiteral("  SÃO"));
        QCOMPARE(Formata_Texto(QStringLiteral("ÇÃ"), 1, QStringLiteral("E")), QStringLiteral("Ç"));
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Formata_Texto(abc, -1, QStringLiteral("E")));
    }

    void filtra_tecla_data() {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("resultado");
        auto linha = [](const char* modo, int tecla, int resultado) {
            QTest::addRow("%s %d", modo, tecla) << QString::fromLatin1(modo) << tecla << resultado;
        };
        for (const char* m : {"I", "V", "A", "H", "D"}) linha(m, '7', '7');
        for (const char* m : {"I", "V", "M", "A", "L", "H", "D"}) linha(m, 8, 8);
        linha("I", '-', '-'); linha("I", ',', 0); linha("I", 'a', 0); linha("I", '.', 0);
        linha("V", '.', ','); linha("V", ',', ','); linha("V", '-', '-'); linha("V", 'x', 0);
        linha("M", 'a', 'A'); linha("M", '5', '5'); linha("M", 0xE7, 0xC7); linha("M", 0xE1, 0xC1);
        linha("M", 0xE3, 0xC3); linha("M", 0xEA, 0xCA); linha("M", 0xFF, 0x9F); linha("M", 0x9A, 0x8A);
        linha("M", 0xF7, 0xF7); linha("M", 0xDF, 0xDF); linha("M", 'Z', 'Z');
        linha("A", 'b', 'B'); linha("A", 0xF5, 0xD5);
        linha("L", '3', 0); linha("L", 'a', 'a'); linha("L", '-', '-');
        linha("H", ':', ':'); linha("H", '/', 0); linha("D", '/', '/'); linha("D", ':', 0);
        linha("X", 'a', 0); linha("X", '1', 0); linha("i", '1', 0);
        // Enter passes only where every other key does.
        for (const char* m : {"M", "A", "L"}) linha(m, 13, 13);
        for (const char* m : {"I", "V", "H", "D", "X"}) linha(m, 13, 0);
    }
    void filtra_tecla() {
        QFETCH(QString, modo);
        QFETCH(int, tecla);
        QFETCH(int, resultado);
        QCOMPARE(Filtra_Tecla(tecla, modo), resultado);
    }

    void dia_semana_e_dias_mes() {
        QCOMPARE(Dia_Semana(1), QStringLiteral("DOMINGO"));
        QCOMPARE(Dia_Semana(3), QStringLiteral("TERÇA"));
        QCOMPARE(Dia_Semana(7), QStringLiteral("SÁBADO"));
        QCOMPARE(Dia_Semana(0), QString());
        QCOMPARE(Dia_Semana(8), QString());
        QCOMPARE(Dias_Mes(2, 2024), 29);
        QCOMPARE(Dias_Mes(2, 2023), 28);
        QCOMPARE(Dias_Mes(2, 1900), 28);
        QCOMPARE(Dias_Mes(4, 2023), 30);
        QCOMPARE(Dias_Mes(12, 2023), 31);
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Dias_Mes(13, 2023));
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Dias_Mes(0, 2023));
    }

    void extrai_texto() {
        const QString t = QStringLiteral("PRESBITERO [PB] «3»");
        QCOMPARE(Extrai_Texto(t, QStringLiteral("["), QStringLiteral("]")), QStringLiteral("PB"));
        QCOMPARE(Extrai_Texto(t, QStringLiteral("«"), QStringLiteral("»")), QStringLiteral("3"));
        QCOMPARE(Extrai_Texto(QStringLiteral("JOAO"), QStringLiteral("["), QStringLiteral("]")), QString());
        QCOMPARE(Extrai_Texto(QStringLiteral("[ A B ]"), QStringLiteral("["), QStringLiteral("]")), QStringLiteral("A B"));
        // Only the closing one: the text before it.
        QCOMPARE(Extrai_Texto(QStringLiteral(" 12 ]X"), QStringLiteral("["), QStringLiteral("]")), QStringLiteral("12"));
        // An opening with no closing after it, or the two reversed: nothing.
        QCOMPARE(Extrai_Texto(QStringLiteral("MARIA [PB"), QStringLiteral("["), QStringLiteral("]")), QString());
        QCOMPARE(Extrai_Texto(QStringLiteral("A ] B [ C"), QStringLiteral("["), QStringLiteral("]")), QString());
    }

    void valida_cpf() {
        QString cpf = QStringLiteral("123.456.789-09");
        QVERIFY(Valida_CPF(cpf));
        QCOMPARE(cpf, QStringLiteral("12345678909"));
        cpf = QStringLiteral("123.456.789-08");
        QVERIFY(!Valida_CPF(cpf));
        cpf = QStringLiteral("1234567890");
        QVERIFY(!Valida_CPF(cpf));
        cpf = QStringLiteral("111.111.111-11");  // repeated digits whose checks fit
        QVERIFY(Valida_CPF(cpf));
        cpf = QStringLiteral("529.982.247-25");
        QVERIFY(Valida_CPF(cpf));
        cpf = QStringLiteral("52998224 725");  // a blank is not removed: 12 characters
        QVERIFY(!Valida_CPF(cpf));
    }

    void valida_controle() {
        Ambiente amb(false);
        Nome_Usuario = QStringLiteral("MARIA");
        QWidget form;
        auto* txt = new TextBox(&form);
        auto* cbo = new ComboBox(&form, 2);
        auto* rot = new Label(QStringLiteral("Valor"), &form);
        cbo->AddItem(QStringLiteral("UM"));

        struct Caso { const char* tipo; const char* texto; bool valido; };
        const Caso casos[] = {
            {"T", "   ", false}, {"T", " a ", true},
            {"N", "12.5", true}, {"N", "1.234,50", true}, {"N", "12a", false}, {"N", "", false},
            {"0", "0,50", false}, {"0", "1,50", true}, {"0", "", false}, {"0", "abc", false},
            {"H", "23:59", true}, {"H", "24:00", false}, {"H", "10:60", false}, {"H", "", true},
            {"%", "100", true}, {"%", "100.5", false}, {"%", "-1", false},
            {"D", "31/12/2023", true}, {"D", "31/02/2023", false}, {"D", "ontem", false},
            {"Q", "", true},
        };
        for (const Caso& c : casos) {
            txt->setText(QString::fromUtf8(c.texto));
            QVERIFY2(Valida_Controle(txt, rot, QString::fromLatin1(c.tipo), QStringLiteral("N")) == c.valido,
                     qPrintable(QStringLiteral("%1 '%2'").arg(QLatin1String(c.tipo), QString::fromUtf8(c.texto))));
        }
        QVERIFY(Roteiro::Caixas().empty());  // no message without "S"

        QVERIFY(!Valida_Controle(cbo, rot, QStringLiteral("L"), QStringLiteral("N")));
        cbo->setListIndex(0);
        QVERIFY(Valida_Controle(cbo, rot, QStringLiteral("L"), QStringLiteral("S")));
        QVERIFY(Valida_Controle(cbo, rot, QStringLiteral("D"), QStringLiteral("S")));  // only text boxes hold dates

        txt->setText(QStringLiteral("0,50"));
        Roteiro::Responde(vbOK);
        QVERIFY(!Valida_Controle(txt, rot, QStringLiteral("0"), QStringLiteral("S")));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QStringLiteral("Preencha Valor Corretamente."));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("Atenção MARIA"));
        QCOMPARE(Roteiro::Caixas()[0].estilo, 48);
        QCOMPARE(txt->Text(), QStringLiteral("0,50"));
        Nome_Usuario.clear();
    }

    void limpa_controles() {
        QWidget form;
        auto* txt = new TextBox(&form);
        auto* editavel = new ComboBox(&form, 0);
        auto* lista = new ComboBox(&form, 2);
        auto* opt = new OptionButton(QStringLiteral("A"), &form);
        auto* lst = new ListBox(&form);
        auto* chk = new CheckBox(QStringLiteral("C"), &form);
        auto* lbl = new Label(QStringLiteral("Rótulo"), &form);
        txt->setText(QStringLiteral("X"));
        editavel->AddItem(QStringLiteral("UM"));
        editavel->setListIndex(0);
        editavel->setText_(QStringLiteral("digitado"));
        lista->AddItem(QStringLiteral("DOIS"));
        lista->setListIndex(0);
        opt->setValue(true);
        lst->AddItem(QStringLiteral("linha"));
        chk->setValue(1);
        Limpa_Controles(&form);
        QCOMPARE(txt->Text(), QString());
        QCOMPARE(editavel->ListIndex(), -1);
        QCOMPARE(editavel->Text(), QString());
        QCOMPARE(editavel->ListCount(), 1);
        QCOMPARE(lista->ListIndex(), -1);
        QCOMPARE(lista->ListCount(), 1);
        QCOMPARE(opt->Value(), false);
        QCOMPARE(lst->ListCount(), 0);
        QCOMPARE(chk->Value(), 1);
        QCOMPARE(lbl->Caption(), QStringLiteral("Rótulo"));
    }

    void valor_numerico() {
        QCOMPARE(Valor_Numerico(QVariant()), 0.0);
        QCOMPARE(Valor_Numerico(QStringLiteral("")), 0.0);
        QCOMPARE(Valor_Numerico(QStringLiteral("abc")), 0.0);
        QCOMPARE(Valor_Numerico(QStringLiteral(" 1.234,50 ")), 1234.5);
        QCOMPARE(Valor_Numerico(QStringLiteral("-7")), -7.0);
        // A number read from the database is taken as it is, never re-read
        // through its text ("1234.5" would be 12345 the regional way).
        QCOMPARE(Valor_Numerico(QVariant(1234.5)), 1234.5);
        QCOMPARE(Valor_Numerico(QVariant(qint64(42))), 42.0);
    }

    void numeros_regionais() {
        for (const char* s : {"12", " 12 ", "12.5", "1.234,50", "-3", "+ 4", "0,5", ",5", "1.2.3", "12."})
            QVERIFY2(E_Numerico(QString::fromLatin1(s)), s);
        for (const char* s : {"", " ", "-", ",", ".5", "1,2,3", "12a", "R$ 5", "1 000", "1e3"})
            QVERIFY2(!E_Numerico(QString::fromLatin1(s)), s);
        QCOMPARE(Para_Numero(QStringLiteral("1.234,50")), 1234.5);
        QCOMPARE(Para_Numero(QStringLiteral("12.5")), 125.0);
        QCOMPARE(Para_Numero(QStringLiteral("- 0,25")), -0.25);
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Para_Numero(QStringLiteral("abc")));

        QCOMPARE(Val(QStringLiteral("0,50")), 0.0);
        QCOMPARE(Val(QStringLiteral(" 1 2.5x")), 12.5);
        QCOMPARE(Val(QStringLiteral("-3abc")), -3.0);
        QCOMPARE(Val(QStringLiteral("05")), 5.0);
        QCOMPARE(Val(QStringLiteral("1e2")), 100.0);
        QCOMPARE(Val(QStringLiteral("abc")), 0.0);
        QCOMPARE(Val(QString()), 0.0);
    }

    void formatos_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("padrao");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("0000") << 12.0 << QStringLiteral("0000") << QStringLiteral("0012");
        QTest::newRow("0000 grande") << 12345.0 << QStringLiteral("0000") << QStringLiteral("12345");
        QTest::newRow("0000 arredonda") << 12.5 << QStringLiteral("0000") << QStringLiteral("0013");
        QTest::newRow("00") << 5.0 << QStringLiteral("00") << QStringLiteral("05");
        QTest::newRow("00 zero") << 0.0 << QStringLiteral("00") << QStringLiteral("00");
        QTest::newRow("moeda") << 1234.5 << QStringLiteral("#,##0.00") << QStringLiteral("1.234,50");
        QTest::newRow("moeda milhões") << 1234567.891 << QStringLiteral("#,##0.00") << QStringLiteral("1.234.567,89");
        QTest::newRow("moeda negativa") << -0.5 << QStringLiteral("#,##0.00") << QStringLiteral("-0,50");
        QTest::newRow("moeda zero") << 0.0 << QStringLiteral("#,##0.00") << QStringLiteral("0,00");
        QTest::newRow("moeda meio centavo") << 1.005 << QStringLiteral("#,##0.00") << QStringLiteral("1,01");
        QTest::newRow("moeda meio centavo 2") << 1234.565 << QStringLiteral("#,##0.00") << QStringLiteral("1.234,57");
        QTest::newRow("moeda quase zero") << -0.001 << QStringLiteral("#,##0.00") << QStringLiteral("0,00");
        QTest::newRow("#,### zero") << 0.0 << QStringLiteral("#,###") << QStringLiteral("");
        QTest::newRow("#,###") << 1234.0 << QStringLiteral("#,###") << QStringLiteral("1.234");
        QTest::newRow("registros zero") << 0.0 << QStringLiteral("#,### Registro(s)") << QStringLiteral(" Registro(s)");
        QTest::newRow("registros") << 1234.0 << QStringLiteral("#,### Registro(s)") << QStringLiteral("1.234 Registro(s)");
        QTest::newRow("registros 15") << 15.0 << QStringLiteral("#,### Registro(s)") << QStringLiteral("15 Registro(s)");
        QTest::newRow("percentual meio") << 0.5 << QStringLiteral("###%") << QStringLiteral("50%");
        QTest::newRow("percentual todo") << 1.0 << QStringLiteral("###%") << QStringLiteral("100%");
        QTest::newRow("percentual zero") << 0.0 << QStringLiteral("###%") << QStringLiteral("%");
        QTest::newRow("percentual 1/3") << 1.0 / 3.0 << QStringLiteral("###%") << QStringLiteral("33%");
    }
    void formatos() {
        QFETCH(double, valor);
        QFETCH(QString, padrao);
        QFETCH(QString, esperado);
        QCOMPARE(Formata(valor, padrao), esperado);
    }

    void formata_texto_numerico() {
        QCOMPARE(Formata(QStringLiteral("5"), QStringLiteral("00")), QStringLiteral("05"));
        QCOMPARE(Formata(QString(), QStringLiteral("00")), QString());
        QCOMPARE(Formata(QStringLiteral("1234,5"), QStringLiteral("#,##0.00")), QStringLiteral("1.234,50"));
        QCOMPARE(Formata(QStringLiteral("abc"), QStringLiteral("#,##0.00")), QStringLiteral("abc"));
    }

    void dinheiro() {
        struct Caso { const char* texto; qint64 centavos; };
        const Caso aceitos[] = {{"1234,56", 123456}, {"1.234,56", 123456}, {"-50", -5000}, {"0,5", 50},
                                {" 10 ", 1000}, {"1.234.567,8", 123456780}, {"1.234", 123400}, {"+3,01", 301}};
        for (const Caso& c : aceitos) {
            const auto v = Dinheiro::Le(QString::fromLatin1(c.texto));
            QVERIFY2(v.has_value(), c.texto);
            QCOMPARE(v->Centavos(), c.centavos);
        }
        for (const char* s : {"1234.56", "1.23,4", "12.5", "1,234", "", "-", ",50", "1.2345,00", "abc", "1 234,00",
                              "10,", "99999999999999999,00"})
            QVERIFY2(!Dinheiro::Le(QString::fromLatin1(s)).has_value(), s);

        // Sums stay exact to the cent: 0,10 ten times is 1,00.
        Dinheiro soma;
        for (int i = 0; i < 10; ++i) soma += *Dinheiro::Le(QStringLiteral("0,10"));
        QCOMPARE(soma, Dinheiro::DeCentavos(100));
        QCOMPARE((soma - *Dinheiro::Le(QStringLiteral("1.234,56"))).Formata(), QStringLiteral("-1.233,56"));
        QCOMPARE(Dinheiro::DeCentavos(-50).Formata(), QStringLiteral("-0,50"));
        QCOMPARE(Dinheiro::DeCentavos(123456).Texto(), QStringLiteral("1234,56"));
        QCOMPARE(Dinheiro::DeNumero(1234.565).Centavos(), qint64(123457));
        QCOMPARE(Dinheiro::DeNumero(-0.125).Centavos(), qint64(-13));
        QCOMPARE(Formata_Valor(QStringLiteral("1234,5")), QStringLiteral("1.234,50"));
        QCOMPARE(Formata_Valor(QStringLiteral("1234.56")), QStringLiteral("1234.56"));
    }
};

REGISTRA_TESTE(tst_Texto)
#include "tst_Texto.moc"
