#pragma once

#include <functional>

namespace carvendo::pos {

// The points a closing passes, in order. A probe called at each lets a test stop the program there
// (as a power cut would) and check what the next start finds.
enum class ClosingStep
{
    Claimed,          // the sale is this closing's: numbered, operator and payment on its header
    ReceiptRecorded,  // the `scontrini` row with the lines to print
    StockUnloaded,    // every row's stock taken
    LedgerWritten,    // the `venduti` rows
    PaymentRecorded,  // the cheque and the operator pack
    Committed,        // everything above is on the server
    HandOverStarted,  // the receipt is marked as being handed to the printer
    DataFileWritten,  // the data file in the receipts folder
    DataFileCopied,   // ... and in the driver's folder
    StartFileWritten, // the start file in the receipts folder
    StartFileCopied,  // ... and in the driver's folder: the printer has the receipt
    HandedOver        // the receipt is marked as handed over
};

using ClosingProbe = std::function<void(ClosingStep)>;

} // namespace carvendo::pos
