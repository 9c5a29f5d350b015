// The printer that printing, print preview and print setup share. Framework-internal.
#pragma once

class QPrinter;

// Made on first use; on a machine without printers it prints to a PDF file.
QPrinter& AfxPrinter();
