#pragma once
// The installation's parameters: one row of the table Parametros copied
// into Param at start-up and after the parameters form saves.
#include <QString>
#include <functional>

class ComboBox;
class TextBox;

// Param[1..99] (index 0 unused):
//   1 church code "0000"   2 church name   3 sector/region   4 congregation
//   8 installation type ("C", "S", "R")   9 working month   10 working year
//   11 central server address   99 main window title
extern QString Param[100];

// Address of the central server: a build constant.
inline const QString Servidor_Central = QStringLiteral(TESOURARIA_SERVIDOR_CENTRAL);

// Fills Param from the stored query "ProcPesqParametros" (defaults when the
// table has no row). Errors go through Trata_Erro; No leaves Param with what
// was stored up to the failure.
void Carrega_Parametros();
void Recarrega_Parametros();

// Writes the stored working month and year ("AGOSTO / 2021") into the
// control; leaves it unchanged when the table has no row. Errors (a null
// or impossible month) are raised to the caller.
void Mostra_Mes_Ano(ComboBox* controle);
void Mostra_Mes_Ano(TextBox* controle);

// Enables the sector menu items of the main window unless Param[8] is
// exactly "C". Does nothing while there is no main window.
void Habilita_Menus();
// The main window says here how its sector menu items follow the
// installation type; an empty function when it goes.
void Registra_Menus_Setor(std::function<void(bool habilita)> habilita);

// 1..12: the month's name ("JANEIRO".."DEZEMBRO"). 0 or less: the two-digit
// number of the month whose name equals `nome` exactly, or "". Above 12:
// error 9.
QString Nome_Mes(int mes, const QString& nome = {});
