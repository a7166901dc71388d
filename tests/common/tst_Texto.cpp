// Text, key and field helpers, and the Brazilian number rules.
#include "common/Numeros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QTest>

class tst_Texto : public QObject {
    Q_OBJECT

private slots:
    void textos() {
        const std::tuple<const char*, int, const char*, const char*> formatados[] = {
            {"ABC", 6, "D", "   ABC"}, {"ABC", 6, "C", " ABC  "}, {"ABC", 6, "E", "ABC   "}, {"ABC", 7, "C", "  ABC  "},
            {"ABC", 2, "D", "AB"},     {"ABC", 0, "C", ""},
            {"SA\u0303O", 5, "D", "  SÃO"}, {"ÇÃ", 1, "E", "Ç"},  // in characters, a decomposed accent counting once
        };
        for (const auto& [texto, n, a, esperado] : formatados) QCOMPARE(Formata_Texto(texto, n, a), QString(esperado));
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Formata_Texto("ABC", -1, "E"));

        const std::tuple<const char*, const char*, const char*, const char*> trechos[] = {
            {"PRESBITERO [PB] «3»", "«", "»", "3"}, {"JOAO", "[", "]", ""}, {"[ A B ]", "[", "]", "A B"},
            {" 12 ]X", "[", "]", "12"},  // only the closing one: the text before it
            {"MARIA [PB", "[", "]", ""}, {"A ] B [ C", "[", "]", ""},  // no closing after the opening
        };
        for (const auto& [t, a, f, esperado] : trechos) QCOMPARE(Extrai_Texto(t, a, f), QString(esperado));

        QCOMPARE(Dia_Semana(3) + Dia_Semana(7) + Dia_Semana(8), QString("TERÇASÁBADO"));
        for (const auto& [m, a, n] : {std::tuple{2, 2024, 29}, {2, 2023, 28}, {2, 1900, 28}, {4, 2023, 30}})
            QCOMPARE(Dias_Mes(m, a), n);
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Dias_Mes(13, 2023));

        for (const auto& [texto, valido] : {std::pair{"123.456.789-08", false}, {"111.111.111-11", true},
                                            {"52998224 725", false}}) {  // a blank is not removed
            QString cpf = texto;
            QVERIFY2(Valida_CPF(cpf) == valido, texto);
        }
        QString cpf = "123.456.789-09";
        QVERIFY(Valida_CPF(cpf));
        QCOMPARE(cpf, QString("12345678909"));
    }

    void filtraTecla() {
        struct Caso { const char* modos; int tecla, resultado; };
        const Caso casos[] = {
            {"IVAHD", '7', '7'}, {"IVMALHD", 8, 8}, {"MAL", 13, 13}, {"IVHDX", 13, 0},  // Enter only where every key passes
            {"I", '-', '-'},     {"I", ',', 0},     {"I", 'a', 0},   {"I", '.', 0},
            {"V", '.', ','},     {"V", ',', ','},   {"V", '-', '-'}, {"V", 'x', 0},
            {"M", 'a', 'A'},     {"M", '5', '5'},   {"M", 0xE7, 0xC7}, {"M", 0xE1, 0xC1}, {"M", 0xE3, 0xC3},
            {"M", 0xEA, 0xCA},   {"M", 0xFF, 0x9F}, {"M", 0x9A, 0x8A}, {"M", 0xF7, 0xF7}, {"M", 0xDF, 0xDF},
            {"A", 'b', 'B'},     {"A", 0xF5, 0xD5}, {"L", '3', 0},   {"L", 'a', 'a'}, {"L", '-', '-'},
            {"H", ':', ':'},     {"H", '/', 0},     {"D", '/', '/'}, {"D", ':', 0},
            {"X", 'a', 0},       {"X", '1', 0},     {"i", '1', 0},
        };
        for (const Caso& c : casos)
            for (const char* m = c.modos; *m; ++m)
                QVERIFY2(Filtra_Tecla(c.tecla, QString(QChar(*m))) == c.resultado, qPrintable(QString("%1 %2").arg(*m).arg(c.tecla)));
    }

    void validaELimpaControles() {
        Ambiente amb(false);
        Nome_Usuario = "MARIA";
        QWidget form;
        auto* txt = new TextBox(&form);
        auto* cbo = new ComboBox(&form, 2);
        auto* rot = new Label("Valor", &form);
        cbo->AddItem("UM");
        struct Caso { const char* tipo; const char* texto; bool valido; };
        const Caso casos[] = {
            {"T", "   ", false}, {"T", " a ", true}, {"N", "12.5", true}, {"N", "1.234,50", true}, {"N", "12a", false},
            {"N", "", false}, {"0", "0,50", false}, {"0", "1,50", true}, {"0", "", false}, {"0", "abc", false},
            {"H", "23:59", true}, {"H", "24:00", false}, {"H", "10:60", false}, {"H", "", true}, {"%", "100", true},
            {"%", "100.5", false}, {"%", "-1", false}, {"D", "31/12/2023", true}, {"D", "31/02/2023", false},
            {"D", "ontem", false}, {"Q", "", true},
        };
        for (const Caso& c : casos) {
            txt->setText(c.texto);
            QVERIFY2(Valida_Controle(txt, rot, c.tipo, "N") == c.valido, qPrintable(QString("%1 '%2'").arg(c.tipo, c.texto)));
        }
        QVERIFY(Roteiro::Caixas().empty());  // no message without "S"
        QVERIFY(!Valida_Controle(cbo, rot, "L", "N"));
        cbo->setListIndex(0);
        QVERIFY(Valida_Controle(cbo, rot, "L", "S"));
        QVERIFY(Valida_Controle(cbo, rot, "D", "S"));  // only text boxes hold dates
        txt->setText("0,50");
        Roteiro::Responde(vbOK);
        QVERIFY(!Valida_Controle(txt, rot, "0", "S"));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QString("Preencha Valor Corretamente."));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("Atenção MARIA"));
        QCOMPARE(Roteiro::Caixas()[0].estilo, 48);
        Nome_Usuario.clear();

        // Texts and choices cleared, the combos' items kept; check boxes and labels untouched.
        auto* editavel = new ComboBox(&form, 0);
        auto* opt = new OptionButton("A", &form);
        auto* lst = new ListBox(&form);
        auto* chk = new CheckBox("C", &form);
        editavel->AddItem("UM");
        editavel->setText_("digitado");
        opt->setValue(true);
        lst->AddItem("linha");
        chk->setValue(1);
        Limpa_Controles(&form);
        QCOMPARE(txt->Text() + editavel->Text() + QString::number(opt->Value()) + rot->Caption(), QString("0Valor"));
        QCOMPARE(QList<int>({cbo->ListIndex(), cbo->ListCount(), editavel->ListCount(), lst->ListCount(), chk->Value()}),
                 QList<int>({-1, 1, 1, 0, 1}));
    }

    void numerosRegionais() {
        for (const char* s : {"12", " 12 ", "12.5", "1.234,50", "-3", "+ 4", ",5", "1.2.3", "12."}) QVERIFY2(E_Numerico(s), s);
        for (const char* s : {"", "-", ",", ".5", "1,2,3", "12a", "R$ 5", "1 000", "1e3"}) QVERIFY2(!E_Numerico(s), s);
        const std::pair<const char*, double> numeros[] = {{"1.234,50", 1234.5}, {"12.5", 125}, {"- 0,25", -0.25}};
        for (const auto& [s, v] : numeros) QCOMPARE(Para_Numero(s), v);
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Para_Numero("abc"));
        for (const auto& [s, v] : {std::pair{"0,50", 0.0}, {" 1 2.5x", 12.5}, {"-3abc", -3.0}, {"1e2", 100.0}, {"", 0.0}})
            QCOMPARE(Val(s), v);
        // A number read from the database is taken as it is, never re-read
        // through its text ("1234.5" would be 12345 the regional way).
        for (const auto& [v, n] : {std::pair{QVariant(), 0.0}, {QVariant("abc"), 0.0}, {QVariant(" 1.234,50 "), 1234.5},
                                   {QVariant(1234.5), 1234.5}, {QVariant(qint64(42)), 42.0}})
            QCOMPARE(Valor_Numerico(v), n);
    }

    void formatos() {
        const std::tuple<double, const char*, const char*> casos[] = {
            {12, "0000", "0012"}, {12345, "0000", "12345"}, {12.5, "0000", "0013"}, {5, "00", "05"}, {0, "00", "00"},
            {1234.5, "#,##0.00", "1.234,50"}, {1234567.891, "#,##0.00", "1.234.567,89"}, {-0.5, "#,##0.00", "-0,50"},
            {0, "#,##0.00", "0,00"}, {1.005, "#,##0.00", "1,01"}, {1234.565, "#,##0.00", "1.234,57"},
            {-0.001, "#,##0.00", "0,00"}, {0, "#,###", ""}, {1234, "#,###", "1.234"},
            {0, "#,### Registro(s)", " Registro(s)"}, {1234, "#,### Registro(s)", "1.234 Registro(s)"},
            {15, "#,### Registro(s)", "15 Registro(s)"}, {0.5, "###%", "50%"}, {1, "###%", "100%"}, {0, "###%", "%"},
            {1.0 / 3.0, "###%", "33%"},
        };
        for (const auto& [v, padrao, esperado] : casos) QCOMPARE(Formata(v, QString(padrao)), QString(esperado));
        // A text is formatted when it is a number, else given back as it is.
        for (const auto& [t, padrao, esperado] : {std::tuple{"5", "00", "05"}, {"", "00", ""},
                                                  {"1234,5", "#,##0.00", "1.234,50"}, {"abc", "#,##0.00", "abc"}})
            QCOMPARE(Formata(QString(t), QString(padrao)), QString(esperado));
    }

    void dinheiro() {
        const std::pair<const char*, qint64> aceitos[] = {{"1.234,56", 123456}, {"-50", -5000},  {"0,5", 50},
                                                          {" 10 ", 1000},       {"1.234", 123400}, {"+3,01", 301}};
        for (const auto& [texto, centavos] : aceitos) {
            const auto v = Dinheiro::Le(texto);
            QVERIFY2(v && v->Centavos() == centavos, texto);
        }
        for (const char* s : {"1234.56", "1.23,4", "12.5", "1,234", "", "-", ",50", "1.2345,00", "10,", "99999999999999999,00"})
            QVERIFY2(!Dinheiro::Le(s).has_value(), s);
        // Sums stay exact to the cent: 0,10 ten times is 1,00.
        Dinheiro soma;
        for (int i = 0; i < 10; ++i) soma += *Dinheiro::Le("0,10");
        QCOMPARE(soma, Dinheiro::DeCentavos(100));
        QCOMPARE((soma - *Dinheiro::Le("1.234,56")).Formata(), QString("-1.233,56"));
        QCOMPARE(Dinheiro::DeCentavos(-50).Formata() + ' ' + Dinheiro::DeCentavos(123456).Texto(), QString("-0,50 1234,56"));
        QCOMPARE(Dinheiro::DeNumero(1234.565).Centavos(), qint64(123457));
        QCOMPARE(Dinheiro::DeNumero(-0.125).Centavos(), qint64(-13));
        QCOMPARE(Formata_Valor("1234,5") + ' ' + Formata_Valor("1234.56"), QString("1.234,50 1234.56"));
    }
};

REGISTRA_TESTE(tst_Texto)
#include "tst_Texto.moc"
