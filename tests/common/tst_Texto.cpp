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
            {"ABC", 6, "D", "   ABC"}, {"ABC", 6, "C", " ABC  "}, {"ABC", 6, "E", "ABC   "}, {"ABC", 2, "D", "AB"},
            {"SA\u0303O", 5, "D", "  SÃO"},  // in characters, a decomposed accent counting once
        };
        for (const auto& [texto, n, a, esperado] : formatados) QCOMPARE(Formata_Texto(texto, n, a), QString(esperado));

        const std::tuple<const char*, const char*, const char*, const char*> trechos[] = {
            {"PRESBITERO [PB] «3»", "«", "»", "3"}, {" 12 ]X", "[", "]", "12"},  // only the closing one: the text before it
            {"MARIA [PB", "[", "]", ""}, {"A ] B [ C", "[", "]", ""},  // no closing after the opening
        };
        for (const auto& [t, a, f, esperado] : trechos) QCOMPARE(Extrai_Texto(t, a, f), QString(esperado));

        QCOMPARE(Dia_Semana(3) + Dia_Semana(7), QString("TERÇASÁBADO"));
        QCOMPARE(QList<int>({Dias_Mes(2, 2024), Dias_Mes(2, 1900), Dias_Mes(4, 2023)}), QList<int>({29, 28, 30}));

        QString cpf = "123.456.789-08";
        QVERIFY(!Valida_CPF(cpf));
        cpf = "123.456.789-09";
        QVERIFY(Valida_CPF(cpf));
        QCOMPARE(cpf, QString("12345678909"));
    }

    void filtraTecla() {
        struct Caso { const char* modos; int tecla, resultado; };
        const Caso casos[] = {
            {"IVMALHD", 8, 8}, {"MAL", 13, 13}, {"IVHDX", 13, 0},  // Enter only where every key passes
            {"I", '-', '-'},   {"I", ',', 0},   {"I", 'a', 0},    {"V", '.', ','}, {"V", '-', '-'}, {"V", 'x', 0},
            {"M", 'a', 'A'},   {"M", 0xE7, 0xC7}, {"M", 0xFF, 0x9F}, {"M", 0xF7, 0xF7}, {"L", '3', 0}, {"H", '/', 0},
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
            {"T", "   ", false}, {"T", " a ", true}, {"N", "1.234,50", true}, {"N", "12a", false}, {"0", "0,50", false},
            {"0", "1,50", true}, {"H", "24:00", false}, {"%", "100.5", false}, {"D", "31/02/2023", false}, {"Q", "", true},
        };
        for (const Caso& c : casos) {
            txt->setText(c.texto);
            QVERIFY2(Valida_Controle(txt, rot, c.tipo, "N") == c.valido, qPrintable(QString("%1 '%2'").arg(c.tipo, c.texto)));
        }
        QVERIFY(Roteiro::Caixas().empty());  // no message without "S"
        QVERIFY(!Valida_Controle(cbo, rot, "L", "N"));
        cbo->setListIndex(0);
        QVERIFY(Valida_Controle(cbo, rot, "L", "S"));
        txt->setText("0,50");
        Roteiro::Responde(vbOK);
        QVERIFY(!Valida_Controle(txt, rot, "0", "S"));
        const auto& caixa = Roteiro::Caixas().at(0);
        QCOMPARE(caixa.prompt + '|' + caixa.titulo + '|' + QString::number(caixa.estilo), QString("Preencha Valor Corretamente.|Atenção MARIA|48"));
        Nome_Usuario.clear();

        // Texts and choices cleared, the combos' items kept; check boxes and labels untouched.
        auto* lst = new ListBox(&form);
        auto* chk = new CheckBox("C", &form);
        lst->AddItem("linha");
        chk->setValue(1);
        Limpa_Controles(&form);
        QCOMPARE(txt->Text() + rot->Caption(), QString("Valor"));
        QCOMPARE(QList<int>({cbo->ListIndex(), cbo->ListCount(), lst->ListCount(), chk->Value()}), QList<int>({-1, 1, 0, 1}));
    }

    void numerosRegionais() {
        for (const char* s : {" 12 ", "1.234,50", "+ 4", ",5"}) QVERIFY2(E_Numerico(s), s);
        for (const char* s : {"", ".5", "1,2,3", "R$ 5", "1e3"}) QVERIFY2(!E_Numerico(s), s);
        QCOMPARE(QList<double>({Para_Numero("1.234,50"), Para_Numero("- 0,25")}), QList<double>({1234.5, -0.25}));
        QCOMPARE(QList<double>({Val(" 1 2.5x"), Val("0,50")}), QList<double>({12.5, 0}));  // up to the first stray
        // A number read from the database is taken as it is, never re-read
        // through its text ("1234.5" would be 12345 the regional way).
        QCOMPARE(QList<double>({Valor_Numerico(1234.5), Valor_Numerico(" 1.234,50 "), Valor_Numerico(QVariant())}),
                 QList<double>({1234.5, 1234.5, 0}));
    }

    void formatos() {
        const std::tuple<double, const char*, const char*> casos[] = {
            {12, "0000", "0012"}, {12.5, "0000", "0013"}, {1234567.891, "#,##0.00", "1.234.567,89"},
            {-0.5, "#,##0.00", "-0,50"}, {1.005, "#,##0.00", "1,01"}, {-0.001, "#,##0.00", "0,00"}, {0, "#,###", ""},
            {0, "#,### Registro(s)", " Registro(s)"}, {1234, "#,### Registro(s)", "1.234 Registro(s)"}, {1.0 / 3.0, "###%", "33%"},
        };
        for (const auto& [v, padrao, esperado] : casos) QCOMPARE(Formata(v, QString(padrao)), QString(esperado));
        // A text is formatted when it is a number, else given back as it is.
        QCOMPARE(Formata(QString("1234,5"), "#,##0.00") + '|' + Formata(QString("abc"), "00"), QString("1.234,50|abc"));
    }

    void dinheiro() {
        const std::pair<const char*, qint64> aceitos[] = {{"1.234,56", 123456}, {"-50", -5000}, {"0,5", 50}, {"1.234", 123400}};
        for (const auto& [texto, centavos] : aceitos) {
            const auto v = Dinheiro::Le(texto);
            QVERIFY2(v && v->Centavos() == centavos, texto);
        }
        for (const char* s : {"1234.56", "1.23,4", "1,234", "", "10,", "99999999999999999,00"})
            QVERIFY2(!Dinheiro::Le(s).has_value(), s);
        // Sums stay exact to the cent: 0,10 ten times is 1,00.
        Dinheiro soma;
        for (int i = 0; i < 10; ++i) soma += *Dinheiro::Le("0,10");
        QCOMPARE((soma - *Dinheiro::Le("1.234,56")).Formata(), QString("-1.233,56"));
        QCOMPARE(Dinheiro::DeCentavos(123456).Texto(), QString("1234,56"));
        QCOMPARE(Dinheiro::DeNumero(1234.565).Centavos(), qint64(123457));
        QCOMPARE(Formata_Valor("1234,5") + ' ' + Formata_Valor("1234.56"), QString("1.234,50 1234.56"));
    }
};

REGISTRA_TESTE(tst_Texto)
#include "tst_Texto.moc"
