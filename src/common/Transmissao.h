#pragma once
// The local record of the months sent to the central system: the table
// Transmissao, one row for a working month sent and not changed since. The
// send writes it, a saved cash-book entry removes it, the closing report
// prints only a month that has it.
//
// The working month and year come from Param[9] and Param[10], the user
// from Nome_Usuario. Every value travels bound.
//
// The procedures taking a handle run on it, so a caller can make them part
// of a unit of work (the send removes the old row and writes the new one
// together, after its central commit):
//
//     Tenta_Unidade([](UnidadeTrabalho& u) { Elimina_Transmissao(u); Registra_Transmissao(u); });
//
// Those without one open the file for their own call. Only Tem_Tabela
// traps errors; the others raise them to the caller's retry.
class BancoLocal;

// Whether the table is there to be read (a file made before it existed, or
// one whose table lost its columns, has none). Never raises and never
// breaks the caller's unit: it reads the file's catalogue, not the table.
bool Tem_Tabela(BancoLocal& banco);
bool Tem_Tabela();

// Creates the table with the four columns every writer gives it.
void Cria_Tabela(BancoLocal& banco);
void Cria_Tabela();

// Inserts the working month's row, stamped with the clock's now.
void Grava_Transmissao(BancoLocal& banco);
void Grava_Transmissao();

// Deletes the working month's rows; other months are left.
void Deleta_Transmissao(BancoLocal& banco);
void Deleta_Transmissao();

// Records the working month as sent, creating the table when missing.
void Registra_Transmissao(BancoLocal& banco);
void Registra_Transmissao();

// Removes the working month's record; without the table, nothing.
void Elimina_Transmissao(BancoLocal& banco);
void Elimina_Transmissao();
