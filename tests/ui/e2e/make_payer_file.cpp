// Writes a payer file for the end-to-end tests, as the program stores it:
//   qnvr_e2e_payer PATH.W226 EMPLOYEES
// The employer is "ACME TOOLS"; employee k is EMPLOYEE NUMBERk with SSN 123-45-(1000+k).
#include <cstdlib>
#include <iostream>

#include "efw2/efw2_fixture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qnvr_e2e_payer PATH.W226 EMPLOYEES\n";
        return 2;
    }
    qnvr::testing::WritePayerFile(argv[1], qnvr::testing::Employer("ACME TOOLS"),
                                  qnvr::testing::Employees(std::atoi(argv[2])));
    return 0;
}
