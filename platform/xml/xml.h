#pragma once
// platform/xml: XML in and out (pugixml behind it), and the text queues the
// definition import works on.
//   text_queue.h  growable lists of fixed-width text rows with named fields
//   xml_reader.h  record elements of an XML file into a text queue
//   xml_writer.h  an XML document built element by element, written whole
#include "platform/xml/text_queue.h"
#include "platform/xml/xml_reader.h"
#include "platform/xml/xml_writer.h"
