// 500 tithe envelopes of each model through the form, batch answer 500,
// each a PDF job of its own, from the click on the print button to the
// last job written (goal: within 1.5 times the floor). The floor writes the
// same 500 one-page PDF files directly with Qt and Zint: the same texts at
// the same places in the same fonts, the same bars, one QPrinter a file.
// Before timing, the first envelope of each side is read back with
// pdftotext and the two must agree.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "printing/Envelope.h"
#include "ComJanelas.h"
#include "LeituraPdf.h"
#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <zint.h>

namespace {
constexpr int Envelopes = 500;

struct Pasta {
    QTemporaryDir dir;
    Envelope* forma = nullptr;
    Pasta() {
        App::DefinePath(dir.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        Executa_SQL(QStringLiteral(
            "INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano, Banco, Agencia, Conta) "
            "VALUES (12, 'IGREJA', 'SETOR CENTRAL', 'CONGREGAÇÃO VILA NOVA', 'S', 8, 2021, '001', '1234-5', "
            "'98765-0')"));
        Executa_SQL(QStringLiteral("INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES (1, 'MEMBRO', 'MB')"));
        // Names of one line and of two, numbers of eight digits.
        Executa_SQL(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) "
            "SELECT i, 12, printf('%08d', 10000 + i), "
            "       CASE i % 2 WHEN 0 THEN 'DIZIMISTA NÚMERO ' || i ELSE 'DIZIMISTA DE NOME MAIS LONGO NÚMERO ' || i END, "
            "       1 FROM n")
                        .arg(Envelopes));
        Carrega_Parametros();
        Nome_Usuario = QStringLiteral("BENCH");
        Roteiro::Instala();
        forma = Form::Instancia<Envelope>();
        forma->Show();
        QCoreApplication::processEvents();
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

QString Saida(const QString& nome) {
    const QString s = pasta().dir.path() + QLatin1Char('/') + nome;
    QDir(s).removeRecursively();
    QDir().mkpath(s);
    return s;
}

// ---------------------------------------------------------------------------
// The floor: the same envelopes written straight onto QPrinter and Zint.

struct Piso {
    QPrinter impressora{QPrinter::HighResolution};
    QPainter pintor;
    double px = 0;  // device pixels per millimetre
    double dx = 0, dy = 0;

    explicit Piso(const QString& arquivo) {
        impressora.setOutputFormat(QPrinter::PdfFormat);
        impressora.setOutputFileName(arquivo);
        impressora.setFullPage(true);
        impressora.setPageSize(QPageSize(QPageSize::A4));
        impressora.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        impressora.setDocName(QStringLiteral("Tesouraria"));
        pintor.begin(&impressora);
        px = impressora.resolution() / 25.4;
    }
    void fonte(double pontos, bool negrito) {
        QFont f(QStringLiteral("Liberation Mono"));
        f.setPointSizeF(pontos);
        f.setBold(negrito);
        pintor.setFont(f);
    }
    void texto(double x, double y, const QString& t) {
        const QFontMetricsF m(pintor.font(), pintor.device());
        pintor.drawText(QPointF((x + dx) * px, (y + dy) * px + m.ascent()), t);
    }
    void barras(double x, double y, const QString& ri) {
        zint_symbol* s = ZBarcode_Create();
        s->symbology = BARCODE_EXCODE39;
        s->show_hrt = 0;
        const QByteArray dados = ri.toLatin1();
        ZBarcode_Encode(s, reinterpret_cast<const unsigned char*>(dados.constData()), int(dados.size()));
        ZBarcode_Buffer_Vector(s, 0);
        const double unidade = s->vector->width / s->width;  // Zint's units per narrow bar
        const double estreita = 25.4 / 72 * px, altura = 48 * 25.4 / 72 * px;
        for (const zint_vector_rect* r = s->vector->rectangles; r; r = r->next)
            pintor.fillRect(QRectF((x + dx) * px + r->x / unidade * estreita, (y + dy) * px,
                                   r->width / unidade * estreita, altura),
                            Qt::black);
        ZBarcode_Delete(s);
    }
};

QString Espacado(const QString& t) {
    QString r;
    for (QChar c : t) r += c + QLatin1Char(' ');
    return r;
}

void Piso_Amarelo(const QString& arquivo, const QString& nome, const QString& ri) {
    Piso p(arquivo);
    const QString congregacao = QStringLiteral("SETOR CENTRAL / CONGREGAÇÃO VILA NOVA");
    const QString brancos(13, QLatin1Char(' '));
    p.fonte(11, false);
    p.texto(13, 35, QStringLiteral("ANO........: 2021"));
    p.texto(13, 40, QStringLiteral("RI.........: ") + ri);
    double y = 45;
    p.texto(13, y, QStringLiteral("NOME.......: ") + nome.left(27));
    if (nome.size() > 27) p.texto(13, y += 5, brancos + nome.mid(27, 27));
    p.texto(13, y += 5, QStringLiteral("CARGO......: MEMBRO(A)"));
    p.texto(13, y += 5, QStringLiteral("CONGREGAÇÃO: ") + congregacao.left(27));
    p.texto(13, y += 5, brancos + congregacao.mid(27, 27));
    p.fonte(12, false);
    p.texto(13, 115, QStringLiteral(TESOURARIA_ENVELOPE_IGREJA));
    p.texto(34, 120, QStringLiteral(TESOURARIA_ENVELOPE_MINISTERIO));
    p.texto(13, 127, QStringLiteral("Banco...........: ") + Espacado(QStringLiteral("001")));
    p.texto(13, 132, QStringLiteral("Agência.........: ") + Espacado(QStringLiteral("1234-5")));
    p.texto(13, 137, QStringLiteral("Conta Corrente..: ") + Espacado(QStringLiteral("98765-0")));
    p.barras(34, 75, ri);
}

void Piso_Pardo(const QString& arquivo, const QString& nome, const QString& ri) {
    Piso p(arquivo);
    p.fonte(8, true);
    p.texto(13, 25, nome);
    p.texto(93, 25, QStringLiteral("2021"));
    p.texto(13, 31, QStringLiteral("SETOR CENTRAL / CONGREGAÇÃO VILA NOVA"));
    p.texto(91, 31, ri);
}

// ---------------------------------------------------------------------------

// The program's run: every row selected, Yes, the batch answer, the click.
int Imprime_Pelo_Formulario(bool amarelo) {
    Envelope* f = pasta().forma;
    (amarelo ? f->OptAmarelo : f->OptPardo)->setValue(true);
    f->TxtAno->setText_(QStringLiteral("2021"));
    f->LstEnvelope->SelecionaTodos(true);
    Roteiro::LimpaCaixas();
    Roteiro::Responde(vbYes);
    Roteiro::RespondeTexto(QString::number(Envelopes));
    const qsizetype antes = Printer::ArquivosPdf().size();
    f->CmdImprime->click();
    return int(Printer::ArquivosPdf().size() - antes);
}

void Piso_Todos(bool amarelo, const QString& pasta_) {
    const ListBox* l = pasta().forma->LstEnvelope;
    for (int i = 0; i < l->ListCount(); ++i) {
        const Linha_Envelope::Linha t = Linha_Envelope::Le(l->List(i));
        const QString arquivo = QStringLiteral("%1/piso-%2.pdf").arg(pasta_).arg(i + 1, 4, 10, QLatin1Char('0'));
        amarelo ? Piso_Amarelo(arquivo, t.nome, t.ri) : Piso_Pardo(arquivo, t.nome, t.ri);
    }
}

void BM_Envelopes(benchmark::State& estado) {
    const bool amarelo = estado.range(0) == 1;
    Printer::DefinePastaPdf(Saida(QStringLiteral("programa")));
    if (Imprime_Pelo_Formulario(amarelo) != Envelopes) {
        estado.SkipWithError("o formulário não imprimiu todos os envelopes");
        return;
    }
    const QString piso = Saida(QStringLiteral("piso-conferencia"));
    Piso_Todos(amarelo, piso);
    if (Leitura_Pdf::Texto(Printer::ArquivosPdf().front()) != Leitura_Pdf::Texto(piso + QStringLiteral("/piso-0001.pdf"))) {
        estado.SkipWithError("o piso não escreve o mesmo envelope que o programa");
        return;
    }
    for (auto _ : estado) {
        estado.PauseTiming();
        Printer::DefinePastaPdf(Saida(QStringLiteral("programa")));
        estado.ResumeTiming();
        if (Imprime_Pelo_Formulario(amarelo) != Envelopes) {
            estado.SkipWithError("o formulário não imprimiu todos os envelopes");
            break;
        }
    }
    estado.SetItemsProcessed(estado.iterations() * Envelopes);
}

void BM_Piso(benchmark::State& estado) {
    const bool amarelo = estado.range(0) == 1;
    (void)pasta();
    for (auto _ : estado) {
        estado.PauseTiming();
        const QString saida = Saida(QStringLiteral("piso"));
        estado.ResumeTiming();
        Piso_Todos(amarelo, saida);
    }
    estado.SetItemsProcessed(estado.iterations() * Envelopes);
}

// Arguments: 1 the yellow model, 0 the brown one. Each model's program
// and floor run one after the other, so both see the same machine.
BENCHMARK(BM_Envelopes)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Piso)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Envelopes)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Piso)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1);
}  // namespace

int main(int argc, char** argv) { return Roda_Benchmarks(argc, argv); }
