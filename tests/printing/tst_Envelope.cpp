// Tithe envelopes driven from the main window's menu: the church's tithers
// sorted, selected by clicks or all at once, the batch question and its
// bad answers, one print job per envelope, the two models read back from
// their PDF files (positions, bold, the barcode decoded by zbarimg from a
// 300-dpi render, the brown model's texts cut before the item that
// follows them), an error in the middle of an envelope, and a run that
// the user changes or closes while it goes on.
#include "common/Formularios.h"
#include "platform/Codigo39.h"
#include "platform/Erro.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "printing/Envelope.h"
#include "printing/TrabalhoImpressao.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDir>
#include <QImage>
#include <QTimer>
#include <QtTest>

namespace {
const QString Prepare = "Prepare a Impressora com Envelopes. Tudo OK ?";
const QString Marque = "Marque ao menos 1 item para impressão";
const QString Quantas = "9999 - Cancela a Impressão\rQuantas impressões por vez ?: ";
const QString Barras = "Free 3 of 9 Extended";

// Courier New's advance at a size, in millimetres per character.
double Avanco(double pontos) { return pontos * (1229.0 / 2048) * 25.4 / 72; }
// Where the text after a 13-character label starts, at 11 points.
const double Depois_Rotulo = 13 + 13 * Avanco(11);

struct Dizimista {
    QString nome;  // a null text stores Null
    QString ri;
    QVariant cargo;
};

// A yellow envelope: the tither, the congregation's two parts, the offset
// boxes' texts and what they move, and the name block expected at Y 45 to
// 65 (an empty text for a line that holds only blanks).
struct Amarelo {
    Dizimista dizimista;
    QString setor, congrega;
    QString topo, esquerda;
    double dy, dx;
    bool banco;
    QStringList bloco;
};

// A brown envelope whose texts may reach the next item of their line: the
// tither, the congregation's two parts and the year typed, and the two
// lines printed, at Y 25 and 31.
struct Pardo {
    Dizimista dizimista;
    QString setor, congrega, ano;
    QString nome, congregacao;  // as printed, before the year and the number
};

// The batch answers (texts) and the Yes or No given to the error boxes in
// between (numbers), the questions and error boxes that come, and the rows
// printed, in order.
struct Lote {
    QList<QVariant> respostas;
    int perguntas;
    QList<int> erros;
    QList<int> impressos;
};

// Whether a PDF draws any text in a bold face, as pdffonts names its fonts.
bool Negrito(const QString& pdf) { return Executa("pdffonts", {pdf}).contains("Bold"); }

// The page rendered at 300 dpi in grey, as a scanner would see it.
QImage Render(const QString& pdf) {
    const QString base = pdf + "-300";
    Executa("pdftoppm", {"-r", "300", "-gray", "-singlefile", pdf, base});
    return QImage(base + ".pgm");
}

// What zbarimg reads from that render: "CODE-39:<data>", one line a symbol.
QString Codigo_Lido(const QString& pdf) {
    Render(pdf);
    return Executa("zbarimg", {"-q", "--nodbus", pdf + "-300.pgm"}).trimmed();
}

// The dark pixels' box, in millimetres, within a region of a 300-dpi render
// given in millimetres.
QRectF Mancha(const QImage& img, const QRectF& regiao) {
    const double px = 300 / 25.4;
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = int(regiao.top() * px); y < int(regiao.bottom() * px) && y < img.height(); ++y)
        for (int x = int(regiao.left() * px); x < int(regiao.right() * px) && x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) x0 = qMin(x0, x), y0 = qMin(y0, y), x1 = qMax(x1, x), y1 = qMax(y1, y);
    return x1 < 0 ? QRectF() : QRectF(x0 / px, y0 / px, (x1 - x0 + 1) / px, (y1 - y0 + 1) / px);
}

QString Caixa(const QRectF& r) {
    return QString("%1 %2 %3 %4").arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height());
}
}  // namespace

class tst_Envelope : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;

    // Church 12 with its bank data; the positions of the register (one
    // abbreviation in lower case, one Null); the tithers given, and one of
    // church 13 that must not be listed.
    Envelope* abre(const QList<Dizimista>& dizimistas, const QString& setor = "SETOR NORTE",
                   const QString& congrega = "VILA NOVA", bool banco = true) {
        amb_->Parametros(12, setor, congrega, "S", 8, 2021);
        if (banco) amb_->Sql("UPDATE Parametros SET Banco = '001', Agencia = ' 1234-5 ', Conta = '98765-0'");
        amb_->Sql("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR'), (2, 'MEMBRO', 'MB'), (3, 'MISSIONÁRIA', 'MS'),"
                  " (4, 'DIÁCONO', 'DC'), (5, 'MINÚSCULO', 'pr'), (6, 'SEM SIGLA', NULL)");
        int codigo = 0;
        for (const Dizimista& d : dizimistas)
            amb_->Sql("INSERT INTO Dizimos VALUES (?1, 12, ?2, ?3, ?4)",
                      {++codigo, d.ri.isNull() ? QVariant() : d.ri, d.nome.isNull() ? QVariant() : d.nome, d.cargo});
        amb_->Sql("INSERT INTO Dizimos VALUES (900, 13, '1', 'DE OUTRA IGREJA', 1)");
        return Abre_Pelo_Menu<Envelope>(&Principal::Env_Diz);
    }

    // n tithers "DIZIMISTA 1".. with RI 1.., all selected.
    Envelope* abre_todos(int n) {
        QList<Dizimista> ds;
        for (int i = 1; i <= n; ++i) ds << Dizimista{QString("DIZIMISTA %1").arg(i), QString::number(i), 2};
        Envelope* f = abre(ds);
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        return f;
    }

    static void clica_linha(ListBox* l, int linha) {
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(linha)).center());
    }

    static QList<int> selecionadas(const ListBox* l) {
        QList<int> r;
        for (int i = 0; i < l->ListCount(); ++i)
            if (l->Selected(i)) r << i;
        return r;
    }

    // Presses the print button, Yes to the envelopes question, then the
    // script's answers (texts to the input box, numbers to message boxes);
    // returns the jobs written.
    static QStringList imprime(Envelope* f, const QList<QVariant>& respostas) {
        const qsizetype antes = Printer::ArquivosPdf().size();
        Roteiro::Responde(vbYes);
        for (const QVariant& r : respostas)
            r.typeId() == QMetaType::Int ? Roteiro::Responde(r.toInt()) : Roteiro::RespondeTexto(r.toString());
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        return Printer::ArquivosPdf().mid(antes);
    }

    // The first row's envelope printed with these offsets: its one job,
    // of one page.
    static QString imprime_primeiro(Envelope* f, const QString& topo, const QString& esquerda) {
        Troca(f->TxtTop, topo);
        Troca(f->TxtLeft, esquerda);
        clica_linha(f->LstEnvelope, 0);
        const QStringList pdfs = imprime(f, {"10"});
        if (pdfs.size() != 1 || Le_Pdf(pdfs[0]).paginas != 1) return {};
        return pdfs[0];
    }

    // The membership number each envelope printed, in order: the brown
    // model's at Y 31, the yellow one's at Y 40.
    static QStringList numeros(const QStringList& pdfs, double y = 31) {
        QStringList r;
        for (const QString& p : pdfs) r << Le_Pdf(p).Linha(1, y).split(' ').last();
        return r;
    }

    // Runs `acao` as soon as the run lets events through after its first
    // yellow envelope: the barcode face schedules it when it first draws.
    static void Apos_Primeiro_Envelope(std::function<void()> acao) {
        Printer::Registra_Face(Barras, [n = 0, acao](QPainter& p, const QPointF& topo, const QFont& fonte,
                                                     const QString& t) mutable {
            if (++n == 1) QTimer::singleShot(0, acao);
            return Codigo39::Desenha(p, topo, fonte, t);
        });
    }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>();
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        Relogio::Define(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
    }
    void cleanup() {
        Fecha_Tudo();
        QVERIFY(!Impressora().Imprimindo());
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QVERIFY(!Roteiro::HouveInesperada());
        Printer::DefinePastaPdf({});
        Printer::Registra_Face(Barras, &Codigo39::Desenha);
        Relogio::Define({});
        amb_.reset();
    }

    // The church's tithers sorted by name and then number, each field cut
    // to its width, a Null name, number or position listed empty; the
    // count; the form's first state; rows selected by clicks, all at once
    // and none.
    void lista() {
        const QString longo = "MARIA APARECIDA DA CONCEIÇÃO FERREIRA DOS SANTOS NETO XX";
        Envelope* f = abre({{"ÁLVARO PINTO", "12", 1},
                            {"alvaro lima", "7", 2},
                            {"EDUARDO", "20", 3},
                            {"EDUARDO", "100", 4},
                            {QString(), "99", 1},
                            {"CARLOS", QString(), QVariant()},
                            {"DANIEL", "12345678901", 5},
                            {"BEATRIZ", "00012345", 6},
                            {longo, "5", 2}});
        const auto linha = [](const QString& n, const QString& ri, const QString& c) {
            return QString("%1%2%3").arg(n.left(50), -50).arg(ri.left(10), -10).arg(c, -3);
        };
        QCOMPARE(Linhas(f->LstEnvelope), (QStringList{linha("", "99", "PR"), linha("alvaro lima", "7", "MB"),
                                                      linha("ÁLVARO PINTO", "12", "PR"), linha("BEATRIZ", "00012345", ""),
                                                      linha("CARLOS", "", ""), linha("DANIEL", "1234567890", "pr"),
                                                      linha("EDUARDO", "100", "DC"), linha("EDUARDO", "20", "MS"),
                                                      linha(longo, "5", "MB")}));
        QCOMPARE(f->LstEnvelope->List(0).size(), 63);
        QCOMPARE(f->LblRegs->Caption(), QString("9 Registro(s)"));
        QCOMPARE(f->Caption(), QString(" Impressão de Envelopes de Dízimo"));
        QCOMPARE(f->TxtAno->Text(), QString("2026"));
        QCOMPARE(f->TxtTop->Text(), QString("0"));
        QCOMPARE(f->TxtLeft->Text(), QString("0"));
        QVERIFY(f->OptAmarelo->Value() && !f->OptPardo->Value());
        QCOMPARE(f->ChkMarca->Value(), 0);
        QCOMPARE(f->ChkDesmarca->Value(), 1);
        QCOMPARE(selecionadas(f->LstEnvelope), QList<int>());

        // A click adds its row to the selection, a second one takes it out.
        for (int i : {1, 3, 6}) clica_linha(f->LstEnvelope, i);
        clica_linha(f->LstEnvelope, 3);
        QCOMPARE(selecionadas(f->LstEnvelope), (QList<int>{1, 6}));
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        QCOMPARE(selecionadas(f->LstEnvelope).size(), 9);
        clica_linha(f->LstEnvelope, 2);
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        QCOMPARE(selecionadas(f->LstEnvelope), QList<int>());
        QVERIFY(Roteiro::Caixas().empty());
    }

    void sem_dizimistas() {
        Envelope* f = abre({});
        QCOMPARE(f->LstEnvelope->ListCount(), 0);
        QCOMPARE(f->LblRegs->Caption(), QString(" Registro(s)"));
    }

    void cargo_data() {
        QTest::addColumn<QString>("sigla");
        QTest::addColumn<QString>("nome");
        for (const auto& [s, n] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"CG", "CONGREGADO(A)"}, {"MB", "MEMBRO(A)"}, {"CP", "COOPERADOR(A)"}, {"DC", "DIÁCONO(NISA)"},
                 {"PB", "PRESBÍTERO"}, {"EV", "EVANGELISTA"}, {"PR", "PASTOR"}, {"MS", "MISSIONÁRIA"},
                 {"pr", "N/C"}, {"", "N/C"}, {"PR ", "N/C"}, {"XX", "N/C"}})
            QTest::newRow(*s ? s : "vazia") << QString::fromUtf8(s) << QString::fromUtf8(n);
    }
    void cargo() {
        QFETCH(QString, sigla);
        QFETCH(QString, nome);
        QCOMPARE(Envelope::Cargo(sigla), nome);
    }

    void espaca() {
        QCOMPARE(Envelope::Espaca("123"), QString("1 2 3 "));
        QCOMPARE(Envelope::Espaca(""), QString());
        QCOMPARE(Envelope::Espaca("N / C"), QString("N   /   C "));
        QCOMPARE(Envelope::Espaca("AÇÃO"), QString("A Ç Ã O "));
    }

    // No selected row: only the message, no question and no job. No to the
    // envelopes question: nothing printed, the selection as it was.
    void nada_a_imprimir() {
        Envelope* f = abre_todos(3);
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].prompt, Prepare);
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbYesNo + vbQuestion);
        CONFERE_CAIXA(Marque, vbExclamation);

        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Prepare, vbYesNo + vbQuestion);
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        QCOMPARE(selecionadas(f->LstEnvelope), (QList<int>{0, 1, 2}));
    }

    // The batch question with 7 selected rows, on the brown model: when it
    // comes, what its answers do, and its bad answers through the error
    // handler (Yes asks again; No prints nothing more and keeps the rows
    // not printed selected).
    void lotes_data() {
        const QList<int> todos{0, 1, 2, 3, 4, 5, 6};
        Tabela<Lote>({
            {"padrão 10", {{vbOK}, 1, {}, todos}},
            {"0", {{"0"}, 1, {}, todos}},
            {"1", {{"1", "1", "1", "1", "1", "1", "1"}, 7, {}, todos}},
            {"3: antes do 1º, 4º e 7º", {{"3", "3", "3"}, 3, {}, todos}},
            {"3, depois 9999", {{"3", "3", "9999"}, 3, {}, {0, 1, 2, 3, 4, 5}}},
            {"9999", {{"9999"}, 1, {}, {}}},
            {"-2", {{"-2"}, 1, {}, todos}},
            {"2,5 conta 2", {{"2,5", "2", "2", "2"}, 4, {}, todos}},
            {"40000 e Não", {{"40000", vbNo}, 1, {6}, {}}},
            {"vazia e Não", {{"", vbNo}, 1, {13}, {}}},
            {"abc, Sim e 4", {{"abc", vbYes, "4", "4"}, 3, {13}, todos}},
            {"4, depois abc e Não", {{"4", "abc", vbNo}, 2, {13}, {0, 1, 2, 3}}},
        });
    }
    void lotes() {
        QFETCH(Lote, caso);
        Envelope* f = abre_todos(7);
        f->OptPardo->setValue(true);
        const QStringList pdfs = imprime(f, caso.respostas);
        QStringList esperados;
        for (int i : caso.impressos) esperados << QString::number(i + 1);
        QCOMPARE(numeros(pdfs), esperados);

        QList<int> erros;
        int perguntas = 0;
        for (const Roteiro::Caixa& c : Roteiro::Caixas()) {
            if (c.entrada) {
                ++perguntas;
                QCOMPARE(c.prompt, Quantas);
                QCOMPARE(c.titulo, QString("Impressão de Envelopes"));
            } else if (c.titulo.startsWith("<<< Ocorrência de Erro ")) {
                erros << c.titulo.mid(23).section(' ', 0, 0).toInt();
            }
        }
        QCOMPARE(perguntas, caso.perguntas);
        QCOMPARE(erros, caso.erros);
        for (const Roteiro::Caixa& c : Roteiro::Caixas())
            if (c.titulo == "<<< Ocorrência de Erro 13 >>>") QVERIFY2(c.prompt.startsWith("Tipo Incompatível."), qPrintable(c.prompt));
        // Printed rows are deselected; the others stay for the next run.
        QList<int> restantes;
        for (int i = 0; i < 7; ++i)
            if (!caso.impressos.contains(i)) restantes << i;
        QCOMPARE(selecionadas(f->LstEnvelope), restantes);
        QVERIFY(f->CmdImprime->isEnabled());
        QCOMPARE(Roteiro::Pendentes(), 0);
    }

    // The yellow model read back from its PDF: every item where its table
    // puts it, shifted by the offsets; the name block of one line or two;
    // the congregation cut at 54 characters; the bank lines trimmed and
    // spaced, "N / C" without bank data; the barcode a vector drawing at
    // (34, 75), 17 mm tall, read back as the membership number.
    void amarelo_data() {
        const QString n27 = "JOSÉ DA SILVA SAURO PEREIRA";
        const QString n28 = n27 + "S";
        const QString n50 = "ANTÔNIO CARLOS DE ALBUQUERQUE MONTENEGRO FILHO JR.";
        const QString n55 = "MARIA APARECIDA DA CONCEIÇÃO FERREIRA DOS SANTOS NETO XX";
        Tabela<Amarelo>({
            {"nome de 27, RI de 8, sem deslocamento",
             {{n27, "00012345", 1}, "SETOR NORTE", "VILA NOVA", "0", "0", 0, 0, true,
              {"NOME.......: " + n27, "CARGO......: PASTOR", "CONGREGAÇÃO: SETOR NORTE / VILA NOVA", "", ""}}},
            {"nome de 28, deslocamentos 5 e -3",
             {{n28, "451", 3}, "SETOR NORTE", "VILA NOVA", "5", "-3", 5, -3, true,
              {"NOME.......: " + n27, "S", "CARGO......: MISSIONÁRIA", "CONGREGAÇÃO: SETOR NORTE / VILA NOVA", ""}}},
            {"nome de 50, RI vazio, 2,5 e abc",
             {{n50, "", 4}, "SETOR SUL", "CENTRO", "2,5", "abc", 2, 0, true,
              {"NOME.......: ANTÔNIO CARLOS DE ALBUQUERQ", "UE MONTENEGRO FILHO JR.", "CARGO......: DIÁCONO(NISA)",
               "CONGREGAÇÃO: SETOR SUL / CENTRO", ""}}},
            {"nome de 55, congregação de 60, RI de 10, sem banco",
             {{n55, "1234567890", 5}, "SETOR METROPOLITANO DE SÃO JOÃO", "CONGREGAÇÃO BOM RETIRO XYZ", "-2", "1", -2, 1,
              false,
              {"NOME.......: MARIA APARECIDA DA CONCEIÇÃ", "O FERREIRA DOS SANTOS N", "CARGO......: N/C",
               "CONGREGAÇÃO: SETOR METROPOLITANO DE SÃO", "JOÃO / CONGREGAÇÃO BOM RETI"}}},
        });
    }
    void amarelo() {
        QFETCH(Amarelo, caso);
        Envelope* f = abre({caso.dizimista, {"OUTRO", "777", 1}}, caso.setor, caso.congrega, caso.banco);
        Troca(f->TxtAno, "2027");
        const QStringList pdfs{imprime_primeiro(f, caso.topo, caso.esquerda)};
        QVERIFY(!pdfs[0].isEmpty());
        const Documento d = Le_Pdf(pdfs[0]);

        const double dy = caso.dy, dx = caso.dx;
        const QString& ri = Linha_Envelope::Le(f->LstEnvelope->List(0)).ri;
        QCOMPARE(d.Linha(1, 35 + dy), QString("ANO........: 2027"));
        QCOMPARE(d.Linha(1, 40 + dy), ("RI.........: " + ri).trimmed());
        QCOMPARE(d.Linhas(1, {45 + dy, 50 + dy, 55 + dy, 60 + dy, 65 + dy}), caso.bloco);
        const QString nc = "N / C";
        const QString banco = caso.banco ? "0 0 1" : nc;
        QCOMPARE(d.Linhas(1, {115 + dy, 120 + dy, 127 + dy, 132 + dy, 137 + dy}),
                 (QStringList{"IGREJA EVANGÉLICA DO MONTE QUENDIRA", "Ministério de Vale Ruverirora",
                              "Banco...........: " + banco,
                              "Agência.........: " + (caso.banco ? QString("1 2 3 4 - 5") : nc),
                              "Conta Corrente..: " + (caso.banco ? QString("9 8 7 6 5 - 0") : nc)}));

        // Every line from X 13, its text after the label; the second
        // heading line from X 34; the bank data spaced one blank apart.
        QList<Lugar> lugares{{1, "ANO........:", 35 + dy, 13 + dx},  {1, "2027", 35 + dy, Depois_Rotulo + dx},
                             {1, "NOME.......:", 45 + dy, 13 + dx}, {1, "IGREJA", 115 + dy, 13 + dx},
                             {1, "Ministério", 120 + dy, 34 + dx},  {1, "Banco...........:", 127 + dy, 13 + dx},
                             {1, "Agência.........:", 132 + dy, 13 + dx},
                             {1, "Conta", 137 + dy, 13 + dx}};
        const double dados = 13 + 18 * Avanco(12) + dx;
        if (caso.banco)
            lugares << Lugar{1, "1", 132 + dy, dados} << Lugar{1, "4", 132 + dy, dados + 6 * Avanco(12)};
        else
            lugares << Lugar{1, "N", 127 + dy, dados} << Lugar{1, "/", 127 + dy, dados + 4 * Avanco(12)}
                    << Lugar{1, "C", 137 + dy, dados + 8 * Avanco(12)};
        for (int i = 0; i < 5; ++i) {
            const QString primeira = caso.bloco[i].section(' ', 0, 0);
            if (primeira.isEmpty()) continue;
            const bool rotulo = primeira.endsWith(':');
            lugares << Lugar{1, primeira, 45 + 5 * i + dy, (rotulo ? 13 : Depois_Rotulo) + dx};
        }
        if (!ri.isEmpty()) lugares << Lugar{1, ri, 40 + dy, Depois_Rotulo + dx};
        QCOMPARE(d.Fora_Do_Lugar(lugares), QString());
        QVERIFY(!Negrito(pdfs[0]));

        // The barcode: drawn, not a picture; its bars from (34, 75) down
        // 48 points, a narrow bar of one point, 13 of them a character.
        QCOMPARE(Le_Figuras(pdfs[0]).objetos, 0);
        const QRectF barras = Mancha(Render(pdfs[0]), QRectF(20 + dx, 70 + dy, 150, 25));
        const double modulo = 25.4 / 72;
        const double largura = ((ri.size() + 2) * 13 - 1) * modulo;
        QVERIFY2(Perto(barras.left(), 34 + dx) && Perto(barras.top(), 75 + dy) && Perto(barras.height(), 48 * modulo) &&
                     Perto(barras.width(), largura),
                 qPrintable(Caixa(barras) + " largura esperada " + QString::number(largura)));
        QCOMPARE(Codigo_Lido(pdfs[0]), ri.isEmpty() ? QString() : "CODE-39:" + ri);
    }

    // Every yellow envelope of a run carries its own tither's number, read
    // back from the barcode of its own job.
    void codigos_de_barras() {
        QList<Dizimista> ds;
        const QStringList ris{"1", "00000451", "0000000000", "ABC-12", "9876543210"};
        for (int i = 0; i < ris.size(); ++i) ds << Dizimista{QString("DIZIMISTA %1").arg(i), ris[i], 2};
        Envelope* f = abre(ds);
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);
        const QStringList pdfs = imprime(f, {"0"});
        QCOMPARE(pdfs.size(), ris.size());
        for (int i = 0; i < ris.size(); ++i) QCOMPARE(Codigo_Lido(pdfs[i]), "CODE-39:" + ris[i]);
    }

    // The brown model, in bold: the name and the congregation whole, the
    // year and the number beside them, shifted by the offsets; the job
    // titled after the envelope's number.
    void pardo() {
        const QString nome = "JOSÉ DA SILVA SAURO PEREIRA NETO";
        Envelope* f = abre({{nome, "00012345", 1}}, "SETOR NORTE", "VILA NOVA");
        f->OptPardo->setValue(true);
        const QStringList pdfs{imprime_primeiro(f, "4", "-2")};
        QVERIFY(!pdfs[0].isEmpty());
        const Documento d = Le_Pdf(pdfs[0]);
        QCOMPARE(d.titulo, QString("Envelope RI 00012345"));
        QCOMPARE(d.Linhas(1, {29, 35}), (QStringList{nome + " 2026", "SETOR NORTE / VILA NOVA 00012345"}));
        QCOMPARE(d.Fora_Do_Lugar({{1, "JOSÉ", 29, 11}, {1, "2026", 29, 91}, {1, "SETOR", 35, 11},
                                  {1, "00012345", 35, 89}}),
                 QString());
        QVERIFY(Negrito(pdfs[0]));
        QCOMPARE(Le_Figuras(pdfs[0]).objetos, 0);
        QCOMPARE(Codigo_Lido(pdfs[0]), QString());
        // 8 points: the name's 32 characters end where the size says.
        const Palavra neto = d.Acha(1, "NETO", 29);
        QVERIFY2(Perto(neto.direita, 11 + 32 * Avanco(8)), qPrintable(QString::number(neto.direita)));
    }

    // On the brown model, at 8 points, a name reaching the year at X 93 or
    // a congregation reaching the number at X 91 is cut where that item
    // starts; one that ends before it, or whose next item prints nothing,
    // prints whole. Every item stays where the layout puts it.
    void pardo_ate_o_proximo_data() {
        const QString n50 = "JOSEFINA MARGARIDA DE ALBUQUERQUE MONTENEGRO SILVA";
        const QString n47 = "JOSÉ DA SILVA SAURO PEREIRA NETO DE ALBUQUERQUE";
        Tabela<Pardo>({
            {"nome de 50, congregação de 57",
             {{n50, "00012345", 1}, "SETOR METROPOLITANO DE SÃO JOÃO", "VILA ESPERANÇA DO NORTE", "2026",
              "JOSEFINA MARGARIDA DE ALBUQUERQUE MONTENEGRO SI", "SETOR METROPOLITANO DE SÃO JOÃO / VILA ESPERAN"}},
            {"nome de 47, congregação de 46",
             {{n47, "451", 1}, "SETOR LESTE DA REGIÃO METROPOLITANA", "VILA SOL", "2026", n47,
              "SETOR LESTE DA REGIÃO METROPOLITANA / VILA SOL"}},
            {"sem ano nem RI",
             {{n50, "", 1}, "SETOR METROPOLITANO DE SÃO JOÃO", "VILA ESPERANÇA DO NORTE", "", n50,
              "SETOR METROPOLITANO DE SÃO JOÃO / VILA ESPERANÇA DO NORTE"}},
        });
    }
    void pardo_ate_o_proximo() {
        QFETCH(Pardo, caso);
        Envelope* f = abre({caso.dizimista}, caso.setor, caso.congrega);
        f->OptPardo->setValue(true);
        Troca(f->TxtAno, caso.ano);
        const QString pdf = imprime_primeiro(f, "0", "0");
        QVERIFY(!pdf.isEmpty());
        const Documento d = Le_Pdf(pdf);
        const QString& ri = caso.dizimista.ri;
        QCOMPARE(d.Linhas(1, {25, 31}), (QStringList{(caso.nome + " " + caso.ano).trimmed(),
                                                     (caso.congregacao + " " + ri).trimmed()}));
        QList<Lugar> lugares{{1, caso.nome.section(' ', 0, 0), 25, 13}, {1, caso.congregacao.section(' ', 0, 0), 31, 13}};
        if (!caso.ano.isEmpty()) lugares << Lugar{1, caso.ano, 25, 93};
        if (!ri.isEmpty()) lugares << Lugar{1, ri, 31, 91};
        QCOMPARE(d.Fora_Do_Lugar(lugares), QString());
        // The last words end where their texts' characters do: before the
        // next item when it prints.
        const Palavra nome = d.Acha(1, caso.nome.section(' ', -1), 25);
        const Palavra congregacao = d.Acha(1, caso.congregacao.section(' ', -1), 31);
        QVERIFY2(Perto(nome.direita, 13 + caso.nome.size() * Avanco(8)), qPrintable(QString::number(nome.direita)));
        QVERIFY2(Perto(congregacao.direita, 13 + caso.congregacao.size() * Avanco(8)),
                 qPrintable(QString::number(congregacao.direita)));
        if (!caso.ano.isEmpty()) QVERIFY2(nome.direita <= 93, qPrintable(QString::number(nome.direita)));
        if (!ri.isEmpty()) QVERIFY2(congregacao.direita <= 91, qPrintable(QString::number(congregacao.direita)));
    }

    // An error while an envelope is drawn (its barcode, the last item):
    // No sends nothing of it and ends the run, the rows from it on still
    // selected; Yes prints it again from its first item, once.
    void erro_no_envelope_data() { Tabela<int>({{"não", vbNo}, {"sim", vbYes}}); }
    void erro_no_envelope() {
        QFETCH(int, caso);
        int desenhos = 0;
        Printer::Registra_Face(Barras, [&](QPainter& p, const QPointF& topo, const QFont& fonte, const QString& t) {
            if (++desenhos == 2) Levanta_Erro(484, "papel preso");
            return Codigo39::Desenha(p, topo, fonte, t);
        });
        Envelope* f = abre_todos(3);
        const QStringList pdfs = imprime(f, {"10", caso});
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 484 >>>"));
        QCOMPARE(QDir(amb_->Pasta() + "/pdf").entryList({"*.pdf"}).size(), pdfs.size());
        if (caso == vbNo) {
            QCOMPARE(pdfs.size(), 1);
            QCOMPARE(selecionadas(f->LstEnvelope), (QList<int>{1, 2}));
            return;
        }
        QCOMPARE(pdfs.size(), 3);
        const Documento d = Le_Pdf(pdfs[1]);
        int anos = 0;
        for (const Palavra& w : d.palavras) anos += w.texto == "ANO........:";
        QCOMPARE(anos, 1);
        QCOMPARE(d.Linha(1, 40), QString("RI.........: 2"));
        QCOMPARE(Codigo_Lido(pdfs[1]), QString("CODE-39:2"));
        QCOMPARE(selecionadas(f->LstEnvelope), QList<int>());
    }

    // Without the bank record's query the run stops before the question,
    // through the error handler.
    void erro_no_banco() {
        Envelope* f = abre_todos(2);
        amb_->Sql("DELETE FROM Consultas WHERE Nome = 'ProcPesqBcoAgCta'");
        const QStringList pdfs = imprime(f, {vbNo});
        QVERIFY(pdfs.isEmpty());
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro "));
        QCOMPARE(selecionadas(f->LstEnvelope), (QList<int>{0, 1}));
        QVERIFY(f->CmdImprime->isEnabled());
    }

    // Every envelope starts from the printer's defaults: a yellow one after
    // a brown one is not bold, and neither is a printout after an envelope,
    // nor shifted by its offsets.
    void padroes() {
        Envelope* f = abre_todos(1);
        f->OptPardo->setValue(true);
        Troca(f->TxtTop, "5");
        Troca(f->TxtLeft, "5");
        f->ChkDesmarca->setValue(0);
        QStringList pdfs = imprime(f, {"10"});
        f->OptAmarelo->setValue(true);
        pdfs += imprime(f, {"10"});
        QVERIFY(Imprime_Trabalho("Teste", [] {
            Impressora().setScaleMode(6);
            Imprime_Texto(20, 20, "OUTRO");
        }));
        pdfs << Printer::ArquivosPdf().back();
        QCOMPARE(pdfs.size(), 3);
        QVERIFY(Negrito(pdfs[0]));
        QVERIFY(!Negrito(pdfs[1]));
        QVERIFY(!Negrito(pdfs[2]));
        QCOMPARE(Le_Pdf(pdfs[2]).Fora_Do_Lugar({{1, "OUTRO", 20, 20}}), QString());
    }

    // While a run goes on the window stays alive: the print button is
    // disabled and a click on it starts nothing; a row selected ahead is
    // printed, one deselected ahead is skipped; unchecking the deselection
    // applies from the next envelope.
    void durante_a_impressao() {
        Envelope* f = abre_todos(5);
        QTest::mouseClick(f->ChkMarca, Qt::LeftButton);  // none selected
        for (int i : {0, 1, 2}) clica_linha(f->LstEnvelope, i);
        bool desabilitado = false;
        Apos_Primeiro_Envelope([&] {
            desabilitado = !f->CmdImprime->isEnabled();
            QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
            f->CmdImprime_Click();
            clica_linha(f->LstEnvelope, 2);
            clica_linha(f->LstEnvelope, 3);
            QTest::mouseClick(f->ChkDesmarca, Qt::LeftButton);
        });
        const QStringList pdfs = imprime(f, {"10"});
        QVERIFY(desabilitado);
        QCOMPARE(numeros(pdfs, 40), (QStringList{"1", "2", "4"}));
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));  // the first question and the batch
        QCOMPARE(selecionadas(f->LstEnvelope), (QList<int>{1, 3}));
        QVERIFY(f->CmdImprime->isEnabled());
    }

    // Closing the form during a run stops it after the envelope being
    // printed, and the form then goes.
    void fechar_durante_a_impressao() {
        Envelope* f = abre_todos(4);
        QPointer<Envelope> forma(f);
        bool ficou = false;
        Apos_Primeiro_Envelope([&] {
            f->Moldura()->close();
            ficou = f->Loaded();
        });
        const QStringList pdfs = imprime(f, {"10"});
        QVERIFY(ficou);
        QCOMPARE(numeros(pdfs, 40), QStringList{"1"});
        QVERIFY(!Form::Procura("Envelope"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!forma);
    }
};

REGISTRA_TESTE(tst_Envelope)
#include "tst_Envelope.moc"
