#include "printing/RelatorioLivroCaixa.h"

bool Imprime_Mov_Mensal(const Fechamento_Mensal&) { return false; }
