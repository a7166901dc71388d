#pragma once
// The A4 frame of the monthly closing reports: the printer set-up, the
// printed form's picture under every page, the line position, the page
// break that closes the page with its footer and opens the next one with
// the carried totals, and the footer. Each report supplies its header and
// body.
//
// The frame runs as one print job of the print-job runner
// (TrabalhoImpressao.h): the report reads and checks what it will print
// (Prepara) and the picture is decoded before anything is drawn, an error
// during the job discards it, and Yes to the error handler's question
// prints again from page 1 with fresh totals.
#include "common/Numeros.h"
#include <QImage>
#include <QString>
#include <QtGlobal>

class MolduraA4 {
public:
    // The footer of the department report adds the running balance at Y 250
    // and moves the credit line one millimetre right.
    enum class Rodape { LivroCaixa, Departamento };

    virtual ~MolduraA4() = default;
    MolduraA4(const MolduraA4&) = delete;
    MolduraA4& operator=(const MolduraA4&) = delete;

    // Prints the whole report on the program's printer through the
    // print-job runner: true when the job was sent whole; false when the
    // user gave up after an error (nothing of it is sent), or when another
    // print is under way.
    bool Imprime_Mov_Mensal();

    // An offset box's text as the frame reads it: the number at its start
    // with a point as the decimal separator ("2.5" 2.5, "2,5" 2, "abc" 0).
    static float Deslocamento(const QString& texto);

    static constexpr float PrimeiraLinha = 48.0f;
    static constexpr double Passo = 5.94;
    static constexpr float Limite = 220.0f;

protected:
    // `nome` is the report's, by which its print job is titled with the
    // working month ("Fechamento do Livro Caixa 08-2021").
    MolduraA4(const QString& nome, const QString& deslocaEsquerda, const QString& deslocaTopo,
              Rodape rodape = Rodape::LivroCaixa);

    // Reads and checks the report's data before anything is drawn; an
    // error here reaches the error handler with nothing printed.
    virtual void Prepara() {}
    virtual void Imprime_Cabec(qint16 Pag) = 0;
    virtual void Imprime_Corpo() = 0;

    void Imprime_Rodape();
    void Checa_Lin();
    // Advances one line; "S" may break the page.
    void Incrementa_Lin(const QString& Quebra);
    // A money cell whose right edge is 12 characters from x at the current
    // font size; an amount wider than the cell reaches further left. `ate`
    // is where the next item of the line starts: the cell then ends a
    // character before it, so two amounts too wide for their cells stand
    // side by side instead of over each other.
    static void Imprime_Valor(double x, double y, Dinheiro valor, double ate = Sem_Limite);
    // Where that cell's amount starts.
    static double Inicio_Valor(double x, Dinheiro valor, double ate = Sem_Limite);
    // How many characters printed from x end a character before `ate` (the
    // start of an amount that may have reached left into their room).
    static int Cabem(double x, double ate);
    static constexpr double Sem_Limite = 1e9;
    // A number in `largura` digits, zeros before it: a page, a code.
    static QString Digitos(qint64 n, int largura);
    // The header lines every closing shares, in 12 points: the church and
    // its sector, the month by name, its year from xAno and the page.
    static void Imprime_Igreja_Mes(double xAno, const QString& pagina);

    qint16 Pagina = 1;
    float Lin = PrimeiraLinha;
    Dinheiro Tot_Entradas;
    Dinheiro Tot_Saidas;

private:
    void Imprime_Documento();
    void Pinta_Impresso();

    QString nome_;
    QString deslocaEsquerda_;
    QString deslocaTopo_;
    Rodape rodape_;
    QImage impresso_;
};
