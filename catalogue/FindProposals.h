#pragma once

class TFindComboBox;

// The proposals of the find boxes of the pages (the customer and video pages' own, the lend
// and return pages').

// Makes `box` a customer name box: its proposals are the customers whose names begin with
// the text typed, "name / birth number", each standing for the customer's number.
void ProposeCustomerNames(TFindComboBox *box);

// Makes `box` a title box: its proposals are the titles that begin with the text typed.
void ProposeVideoTitles(TFindComboBox *box);
