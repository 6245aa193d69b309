// The process-wide counter of load transactions. Every rebuilt DICOMDIR
// choice and every load of the frame takes the next number, so an import
// is never mistaken for a load that came before it.
#pragma once

int NextLoadTransaction();
