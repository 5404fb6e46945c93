#pragma once
// MAT-file exports (version 4 records, little-endian, no file header): the record
// writers and the contour, profile and series files.

#include <cstdint>
#include <ostream>
#include <string_view>

#include "export/export_selection.h"

namespace vantrel {

// Record type codes: element type x 10 + 1 for text.
enum Mat_Type : std::int32_t {
    k_mat_double = 0,
    k_mat_single = 10,
    k_mat_text = 11,
    k_mat_long = 20,
    k_mat_integer = 30,
    k_mat_unsigned = 40,
    k_mat_byte = 50,
};

// Record writers. Matrices are column-major: element (r, c) at data[c x stride + r], and
// stride 0 means rows; only rows x cols elements are written.
void Write_Mat_Text(std::ostream& out, std::string_view name, std::string_view text);  // 1 x length, 8-bit codes as floats
void Write_Mat_Long_Scalar(std::ostream& out, std::string_view name, std::int32_t value);
void Write_Mat_Single_Scalar(std::ostream& out, std::string_view name, float value);
void Write_Mat_Double_Matrix(std::ostream& out, std::string_view name, const double* data, std::int32_t rows,
                             std::int32_t cols, std::int32_t stride = 0);
void Write_Mat_Byte_Matrix(std::ostream& out, std::string_view name, const std::uint8_t* data, std::int32_t rows,
                           std::int32_t cols, std::int32_t stride = 0);
void Write_Mat_Long_Matrix(std::ostream& out, std::string_view name, const std::int32_t* data, std::int32_t rows,
                           std::int32_t cols, std::int32_t stride = 0);
void Write_Mat_Integer_Matrix(std::ostream& out, std::string_view name, const std::int16_t* data, std::int32_t rows,
                              std::int32_t cols, std::int32_t stride = 0);
// The bits of a signed 16-bit array declared unsigned (-1 reads back as 65535).
void Write_Mat_Unsigned_Matrix(std::ostream& out, std::string_view name, const std::int16_t* data,
                               std::int32_t rows, std::int32_t cols, std::int32_t stride = 0);

// Writes the nine ORU header variables for the ensemble loaded in slot 0.
void Write_Mat_Header(Export_Job& job, std::ostream& out);

// Contour file: title, header, bin positions, ensemble numbers and clocks (n x 1) and the
// data matrix of the selected type (R x bins, rows after a stop left 0).
void Write_Contour_Mat(Export_Job& job, std::ostream& out);

// Profile file: the ensemble number, header, bin positions and one 1 x bins row per checked type.
void Write_Profile_Mat(Export_Job& job, std::ostream& out);

// Series file: header, bin positions, ensemble numbers and clocks, the checked ancillary
// and series variables, each with one row per ensemble filled.
void Write_Series_Mat(Export_Job& job, std::ostream& out);

}  // namespace vantrel
