// The print server's side of printing: its queues and the hand-over of a
// finished PDF document to one of them.
#pragma once

#include <string>
#include <vector>

// The queues of the print server named by the environment (the default
// queue first); empty when no server answers.
std::vector<std::string> GetPrintServerQueues();
// Hands the PDF file to the queue as a job of that title; the job's number,
// or 0 when the server refused it.
int SubmitToPrintServer(const std::string& queue, const std::string& pdfPath,
                        const std::string& title);
