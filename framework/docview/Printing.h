// The printer that printing, print preview and print setup share, which tests point at a file.
#pragma once

class CDocument;
class QPrinter;

// Made on first use; on a machine without printers it prints to a PDF file.
QPrinter& AfxPrinter();
// Printing to a PDF file, the file is by default named after the document, beside it (an
// untitled one in the home folder); a file the user chose stays chosen.
void AfxSuggestPrintFile(const CDocument* pDoc);
