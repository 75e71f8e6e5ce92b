#pragma once
// pdf: the PDF writer, a report generator that writes PDF 1.3.
//   pdf_generator.h    PDFGenerator: document, pages, fonts, images, links
//   pdf_output_file.h  the output file and its stages (compress, encrypt, count)
//   pdf_security.h     the standard security handler (RC4, MD5)
//   pdf_format.h       number formats
#include "pdf/pdf_generator.h"
