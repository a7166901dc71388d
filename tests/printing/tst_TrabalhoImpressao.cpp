// The print-job runner every printout goes through, with jobs of its own:
// what an error leaves (nothing sent on No, the job again from its first
// page on Yes), a disk with no room for the job, a step that fails before
// drawing, a second job asked for while one runs, and the printer's
// defaults and the job's title at the start of every job, read back from
// the PDF files.
#include "common/Formularios.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Tela.h"
#include "printing/TrabalhoImpressao.h"
#include "support/Ambiente.h"
#include "support/DiscoCheio.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDir>
#include <QtTest>

namespace {
// A job of `paginas` pages, each with its number at (20, 20) mm, that
// fails while drawing page `falha` of its first attempt (0: never).
struct Trabalho {
    explicit Trabalho(int p, int f = 0) : paginas(p), falha(f) {}
    int paginas;
    int falha;
    int tentativas = 0;
    QList<int> ponteiros;  // the mouse pointer at each page
    void operator()() {
        ++tentativas;
        Printer& p = Impressora();
        p.setScaleMode(6);
        for (int pagina = 1; pagina <= paginas; ++pagina) {
            if (pagina > 1) p.NewPage();
            ponteiros << Screen::MousePointerAtual();
            Imprime_Texto(20, 20, QString("PAGINA%1-%2").arg(pagina).arg(tentativas), 12);
            if (tentativas == 1 && pagina == falha) Levanta_Erro(484, "papel");
        }
    }
};

// Whether a PDF draws any text in a bold face, as pdffonts names its fonts.
bool Negrito(const QString& pdf) { return Executa("pdffonts", {pdf}).contains("Bold"); }
}  // namespace

class tst_TrabalhoImpressao : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;
    QString pdfs_;

    QStringList arquivos() const { return QDir(pdfs_).entryList({"*.pdf"}, QDir::Files); }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>(false);
        pdfs_ = amb_->Pasta() + "/pdf";
        Printer::DefinePastaPdf(pdfs_);
    }
    void cleanup() {
        QVERIFY(!Impressora().Imprimindo());
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(Screen::MousePointerAtual(), 0);
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    // An error on page 2 of 3: No sends nothing; Yes sends one document
    // drawn whole by the second attempt, from its first page.
    void erro_no_meio_data() { Tabela<int>({{"sim", vbYes}, {"não", vbNo}}); }
    void erro_no_meio() {
        QFETCH(int, caso);
        Trabalho t(3, 2);
        int preparos = 0;
        Roteiro::Responde(caso);
        QCOMPARE(Imprime_Trabalho("Teste", std::ref(t), [&] { ++preparos; }), caso == vbYes);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 484 >>>"));
        // The hourglass on every page, the retry's too.
        QCOMPARE(t.ponteiros, QList<int>(t.ponteiros.size(), 11));
        if (caso == vbNo) {
            QCOMPARE(preparos, 1);
            QVERIFY(arquivos().isEmpty());
            QVERIFY(Printer::ArquivosPdf().isEmpty());
            return;
        }
        QCOMPARE(preparos, 2);
        QCOMPARE(arquivos().size(), 1);
        const Documento d = Le_Pdf(Printer::ArquivosPdf().back());
        QCOMPARE(d.paginas, 3);
        for (int p = 1; p <= 3; ++p) QCOMPARE(d.Linha(p, 20), QString("PAGINA%1-2").arg(p));
    }

    // A disk with no room for the whole job: its file is cut short, which is
    // error 61, "Disco cheio.". No sends nothing and leaves no file; Yes,
    // the disk having room again, prints the job from its first page and
    // sends it whole.
    void disco_cheio_data() { Tabela<int>({{"sim", vbYes}, {"não", vbNo}}); }
    void disco_cheio() {
        QFETCH(int, caso);
        Disco_Cheio disco(4096);
        pdfs_ = disco.Pasta();
        Printer::DefinePastaPdf(pdfs_);
        Trabalho t(3);
        int preparos = 0;
        Roteiro::Responde(caso);
        const bool enviado = Imprime_Trabalho("Teste", std::ref(t), [&] {
            if (++preparos > 1) disco.Libera();
        });
        disco.Libera();
        QCOMPARE(enviado, caso == vbYes);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 61 >>>"));
        QVERIFY2(Roteiro::Caixas()[0].prompt.startsWith("Disco cheio.\r"), qPrintable(Roteiro::Caixas()[0].prompt));
        if (caso == vbNo) {
            QCOMPARE(t.tentativas, 1);
            QVERIFY(arquivos().isEmpty());
            QVERIFY(Printer::ArquivosPdf().isEmpty());
            return;
        }
        QCOMPARE(t.tentativas, 2);
        QCOMPARE(arquivos().size(), 1);
        const Documento d = Le_Pdf(Printer::ArquivosPdf().back());
        QCOMPARE(d.paginas, 3);
        for (int p = 1; p <= 3; ++p) QCOMPARE(d.Linha(p, 20), QString("PAGINA%1-2").arg(p));
    }

    // A step that fails before the job draws: nothing is drawn, and the job
    // runs only once the step has gone through.
    void preparo_falho() {
        Trabalho t(1);
        int falhas = 2;  // the step fails this many more times
        const auto prepara = [&] {
            if (falhas-- > 0) Levanta_Erro(53, "impresso.kwe");
        };
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QVERIFY(!Imprime_Trabalho("Teste", std::ref(t), prepara));
        QCOMPARE(t.tentativas, 0);
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QVERIFY(arquivos().isEmpty());

        Roteiro::LimpaCaixas();
        falhas = 1;
        Roteiro::Responde(vbYes);
        QVERIFY(Imprime_Trabalho("Teste", std::ref(t), prepara));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(t.tentativas, 1);
        QCOMPARE(arquivos().size(), 1);
    }

    // A job asked for while one is drawn (as a click let through by an error
    // box would) is refused at once, without a box, and leaves the running
    // job whole.
    void reentrada() {
        bool segundo = true;
        Trabalho interno(1);
        const auto externo = [&] {
            Impressora().setScaleMode(6);
            Imprime_Texto(20, 20, "EXTERNO", 12);
            segundo = Imprime_Trabalho("Teste", std::ref(interno));
            Imprime_Texto(20, 40, "FIM");
        };
        QVERIFY(Imprime_Trabalho("Teste", externo));
        QVERIFY(!segundo);
        QCOMPARE(interno.tentativas, 0);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(arquivos().size(), 1);
        const Documento d = Le_Pdf(Printer::ArquivosPdf().back());
        QCOMPARE(d.Linhas(1, {20, 40}), (QStringList{"EXTERNO", "FIM"}));
        // Free again once it ends.
        QVERIFY(Imprime_Trabalho("Teste", std::ref(interno)));
        QCOMPARE(Printer::ArquivosPdf().size(), 2);
    }

    // Every job starts from the printer's defaults, under its own title: a
    // bold job shifted by offsets, then a job that sets only the unit, the
    // name and the size prints neither bold nor shifted, whatever was set
    // between the jobs; so does the retry of a job whose failed attempt had
    // set bold and another title before failing.
    void padroes() {
        Printer& p = Impressora();
        QVERIFY(Imprime_Trabalho("Negrito", [&] {
            p.setScaleMode(6);
            p.setFontName("Courier New");
            p.setFontBold(true);
            p.setFontSize(14);
            p.setScaleLeft(-10);
            p.setScaleTop(-5);
            Imprime_Texto(20, 20, "NEGRITO");
        }));
        const auto simples = [&] {
            p.setScaleMode(6);
            p.setFontName("Courier New");
            p.setFontSize(10);
            Imprime_Texto(20, 20, "SIMPLES");
        };
        // Set outside any job: not the next job's.
        p.setFontBold(true);
        p.setTitulo("Fora");
        QVERIFY(Imprime_Trabalho("Simples 1", simples));
        int tentativas = 0;
        Roteiro::Responde(vbYes);
        QVERIFY(Imprime_Trabalho("Simples 2", simples, [&] {
            if (++tentativas > 1) return;
            p.setFontBold(true);
            p.setScaleLeft(-10);
            p.setTitulo("Falho");
            Levanta_Erro(482, "desligada");
        }));

        const QStringList pdfs = Printer::ArquivosPdf();
        QCOMPARE(pdfs.size(), 3);
        QStringList titulos;
        for (const QString& pdf : pdfs) titulos << Le_Pdf(pdf).titulo;
        QCOMPARE(titulos, (QStringList{"Negrito", "Simples 1", "Simples 2"}));
        QVERIFY(Negrito(pdfs[0]));
        QCOMPARE(Le_Pdf(pdfs[0]).Fora_Do_Lugar({{1, "NEGRITO", 25, 30}}), QString());
        for (int i = 1; i < 3; ++i) {
            QVERIFY2(!Negrito(pdfs[i]), qPrintable(pdfs[i]));
            QCOMPARE(Le_Pdf(pdfs[i]).Fora_Do_Lugar({{1, "SIMPLES", 20, 20}}), QString());
        }
        QCOMPARE(p.FontSize(), 12.0);
        QCOMPARE(p.ScaleMode(), 1);
        QCOMPARE(p.Titulo(), QString("Tesouraria"));
    }

    // A font the printer cannot draw stops the job before it draws, through
    // the error handler, whose box names the font.
    void fonte_ausente() {
        Trabalho t(1);
        Roteiro::Responde(vbNo);
        QVERIFY(!Imprime_Trabalho("Teste", [&] {
            t();
            Impressora().setFontName("Tahoma");
            Imprime_Texto(20, 30, "NUNCA");
        }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 483 >>>"));
        QVERIFY2(Roteiro::Caixas()[0].prompt.startsWith(
                     "A fonte \"Tahoma\" não está instalada: a impressora não pode desenhá-la."),
                 qPrintable(Roteiro::Caixas()[0].prompt));
        QVERIFY(arquivos().isEmpty());
    }
};

REGISTRA_TESTE(tst_TrabalhoImpressao)
#include "tst_TrabalhoImpressao.moc"
