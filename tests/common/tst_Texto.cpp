// Text, key and field helpers, and the Brazilian number rules. Widths count
// characters as the user sees them: an emoji, a joined sequence or a letter with a
// loose accent is one character, kept or cut whole, in a list column and in
// a text box's limit alike.
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {
const QString Sorriso = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600
// Three pictures joined into one.
const QString Familia =
    QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
const QString QAgudo = QStringLiteral("q\u0301");  // no precomposed form exists

struct Largura { QString texto; int largura; QString alinhamento, esperado; };

void tecla(QWidget* w, const QString& texto) {
    QKeyEvent p(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &p);
    QKeyEvent s(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &s);
}
struct Trecho { QString texto, abre, fecha, esperado; };
struct Validado { QString tipo, texto; bool valido; };
struct Formato { double valor; QString padrao, esperado; };
struct Numerico { QString texto; bool numero; };
}  // namespace

class tst_Texto : public QObject {
    Q_OBJECT

private slots:
    void extraiTexto_data() {
        Tabela<Trecho>({
            {"entre as marcas", {"PRESBITERO [PB] «3»", "«", "»", "3"}},
            {"só a marca final: o texto antes dela", {" 12 ]X", "[", "]", "12"}},
            {"sem marca final", {"MARIA [PB", "[", "]", ""}},
            {"marca final antes da inicial", {"A ] B [ C", "[", "]", ""}},
        });
    }
    void extraiTexto() {
        QFETCH(Trecho, caso);
        QCOMPARE(Extrai_Texto(caso.texto, caso.abre, caso.fecha), caso.esperado);
    }

    void datasECpf() {
        QCOMPARE(Dia_Semana(3), QString("TERÇA"));
        QCOMPARE(Dias_Mes(2, 2024), 29);
        QCOMPARE(Dias_Mes(2, 1900), 28);
        QString cpf = "123.456.789-08";
        QVERIFY(!Valida_CPF(cpf));
        cpf = "123.456.789-09";
        QVERIFY(Valida_CPF(cpf));
        QCOMPARE(cpf, QString("12345678909"));
    }

    void filtraTecla_data() {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("resultado");
        struct Caso { const char* modos; int tecla, resultado; const char* nome; };
        const Caso casos[] = {
            {"IVMALHD", 8, 8, "retrocesso passa"}, {"MAL", 13, 13, "Enter passa onde toda tecla passa"},
            {"IVHDX", 13, 0, "Enter recusado"}, {"I", '-', '-', "sinal"}, {"I", ',', 0, "vírgula num inteiro"},
            {"I", 'a', 0, "letra num inteiro"}, {"V", '.', ',', "ponto vira vírgula"}, {"V", '-', '-', "sinal"},
            {"V", 'x', 0, "letra num valor"}, {"M", 'a', 'A', "maiúscula"}, {"M", 0xE7, 0xC7, "ç maiúsculo"},
            {"M", 0xFF, 0x9F, "ÿ maiúsculo"}, {"M", 0xF7, 0xF7, "÷ não tem maiúscula"}, {"L", '3', 0, "dígito"},
            {"H", '/', 0, "barra numa hora"},
        };
        for (const Caso& c : casos)
            for (const char* m = c.modos; *m; ++m)
                QTest::addRow("%c: %s", *m, c.nome) << QString(QChar(*m)) << c.tecla << c.resultado;
    }
    void filtraTecla() {
        QFETCH(QString, modo);
        QFETCH(int, tecla);
        QFETCH(int, resultado);
        QCOMPARE(Filtra_Tecla(tecla, modo), resultado);
    }

    void validaControle_data() {
        Tabela<Validado>({
            {"número com milhar", {"N", "1.234,50", true}}, {"número com letra", {"N", "12a", false}},
            {"hora 24:00", {"H", "24:00", false}},
            {"percentual acima de 100", {"%", "100.5", false}}, {"data inexistente", {"D", "31/02/2023", false}},
        });
    }
    void validaControle() {
        QFETCH(Validado, caso);
        Ambiente amb(false);
        TextBox txt;
        Label rot("Valor");
        txt.setText(caso.texto);
        QCOMPARE(Valida_Controle(&txt, &rot, caso.tipo, "N"), caso.valido);
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));  // no message without "S"
    }

    // Texts and choices cleared, the combos' items kept; check boxes and labels untouched.
    void limpaControles() {
        QWidget form;
        auto* txt = new TextBox(&form);
        auto* cbo = new ComboBox(&form, 2);
        auto* rot = new Label("Valor", &form);
        cbo->AddItem("UM");
        cbo->setListIndex(0);
        txt->setText("0,50");
        auto* lst = new ListBox(&form);
        auto* chk = new CheckBox("C", &form);
        lst->AddItem("linha");
        chk->setValue(1);
        Limpa_Controles(&form);
        QCOMPARE(txt->Text(), QString());
        QCOMPARE(rot->Caption(), QString("Valor"));
        QCOMPARE(cbo->ListIndex(), -1);
        QCOMPARE(cbo->ListCount(), 1);
        QCOMPARE(lst->ListCount(), 0);
        QCOMPARE(chk->Value(), 1);
    }

    void eNumerico_data() {
        Tabela<Numerico>({
            {"milhar e brancos", {" 1.234,50 ", true}}, {"sinal separado", {"+ 4", true}}, {"só decimais", {",5", true}},
            {"vazio", {"", false}}, {"ponto antes do dígito", {".5", false}}, {"duas vírgulas", {"1,2,3", false}},
            {"símbolo da moeda", {"R$ 5", false}}, {"expoente", {"1e3", false}},
        });
    }
    void eNumerico() {
        QFETCH(Numerico, caso);
        QCOMPARE(E_Numerico(caso.texto), caso.numero);
    }

    void leiturasRegionais() {
        QCOMPARE(Para_Numero("1.234,50"), 1234.5);
        QCOMPARE(Para_Numero("- 0,25"), -0.25);
        QCOMPARE(Val(" 1 2.5x"), 12.5);  // up to the first stray
        QCOMPARE(Val("0,50"), 0.0);
        // A number read from the database is taken as it is, never re-read
        // through its text ("1234.5" would be 12345 the regional way).
        QCOMPARE(Valor_Numerico(1234.5), 1234.5);
        QCOMPARE(Valor_Numerico(" 1.234,50 "), 1234.5);
        QCOMPARE(Valor_Numerico(QVariant()), 0.0);
    }

    void formata_data() {
        Tabela<Formato>({
            {"inteiro arredonda a metade para cima", {12.5, "0000", "0013"}},
            {"milhares", {1234567.891, "#,##0.00", "1.234.567,89"}}, {"negativo abaixo de um", {-0.5, "#,##0.00", "-0,50"}},
            {"1,005 pelos dígitos decimais", {1.005, "#,##0.00", "1,01"}},
            {"zero negativo sem sinal", {-0.001, "#,##0.00", "0,00"}},
            {"zero com texto", {0, "#,### Registro(s)", " Registro(s)"}}, {"percentual", {1.0 / 3.0, "###%", "33%"}},
            {"milhar com texto", {1234, "#,### Registro(s)", "1.234 Registro(s)"}},
        });
    }
    void formata() {
        QFETCH(Formato, caso);
        QCOMPARE(Formata(caso.valor, caso.padrao), caso.esperado);
    }

    void formataTextoNumerico() {
        // A text is formatted when it is a number, else given back as it is.
        QCOMPARE(Formata(QString("1234,5"), "#,##0.00"), QString("1.234,50"));
        QCOMPARE(Formata(QString("abc"), "00"), QString("abc"));
        QCOMPARE(Formata_Valor("1234,5"), QString("1.234,50"));
        QCOMPARE(Formata_Valor("1234.56"), QString("1234.56"));
    }

    void formataTexto_data() {
        Tabela<Largura>({
            {"emoji na última coluna", {"AB" + Sorriso + "C", 3, "E", "AB" + Sorriso}},
            {"emoji logo depois do corte", {"AB" + Sorriso, 2, "E", "AB"}},
            {"emoji conta um à direita", {"AB" + Sorriso, 5, "D", "  AB" + Sorriso}},
            {"emoji centrado, sobra à direita", {Sorriso, 4, "C", " " + Sorriso + "  "}},
            {"sequência unida com espaço", {Familia, 2, "E", Familia + " "}},
            {"acento solto", {QAgudo + "X", 1, "E", QAgudo}}, {"acento composto", {"E\u0301X", 1, "E", "\u00C9"}},
        });
    }
    void formataTexto() {
        QFETCH(Largura, caso);
        QCOMPARE(Formata_Texto(caso.texto, caso.largura, caso.alinhamento), caso.esperado);
    }

    void limiteDaCaixaDeTexto() {
        // The last place of the box takes an emoji whole; a full box
        // refuses it whole, never keeping half of it.
        TextBox t;
        t.setMaxLength_(5);
        t.show();
        t.setFocus();
        for (const QString& s : {QStringLiteral("ABC"), Sorriso, Familia, Sorriso})
            tecla(&t, s);
        QCOMPARE(t.Text(), "ABC" + Sorriso + Familia);
        t.setText_(QStringLiteral("ABCDE"));
        t.end(false);
        tecla(&t, Sorriso);
        QCOMPARE(t.Text(), QStringLiteral("ABCDE"));
    }
};

REGISTRA_TESTE(tst_Texto)
#include "tst_Texto.moc"
