#pragma once
// The published figures of tax year 2026, in one table: the EFW2 audit checks wages,
// taxes and deferrals against them, and the W-2 window fills in its taxes from them. docs/efw2.md ("Tax year 2026 figures") names the
// publication each comes from. Amounts are whole cents, rates hundredths of a percent.
namespace qnvr {

struct TaxYearLimits {
    int year;
    long long socialSecurityWageBase;      // wages plus tips subject to social security tax
    int socialSecurityRate;                // employee share
    long long socialSecurityTaxMax;        // the rate on the wage base
    int medicareRate;                      // employee share
    long long additionalMedicareThreshold; // wages above which the employer withholds more
    int additionalMedicareRate;
    long long electiveDeferralLimit;       // section 402(g): Box 12 D, E, F, AA, BB (and S, EE)
    long long catchUpAge50;                // section 414(v), age 50 and over
    long long catchUpAge60To63;            // section 414(v)(2)(E), ages 60 to 63 (replaces the above)
    long long section457Limit;             // section 457(b): Box 12 G
    long long section501c18Limit;          // section 501(c)(18)(D): Box 12 H, $7,000 or 25 % of pay
    // How far a tax may be from its rate times its wages before the audit warns: the cents
    // that rounding each pay period leaves over a year.
    long long taxTolerance;
};

inline constexpr TaxYearLimits kTaxYear2026{
    .year = 2026,
    .socialSecurityWageBase = 184'500'00,
    .socialSecurityRate = 620,
    .socialSecurityTaxMax = 11'439'00,
    .medicareRate = 145,
    .additionalMedicareThreshold = 200'000'00,
    .additionalMedicareRate = 90,
    .electiveDeferralLimit = 24'500'00,
    .catchUpAge50 = 8'000'00,
    .catchUpAge60To63 = 11'250'00,
    .section457Limit = 24'500'00,
    .section501c18Limit = 7'000'00,
    .taxTolerance = 1'00,
};

}  // namespace qnvr
