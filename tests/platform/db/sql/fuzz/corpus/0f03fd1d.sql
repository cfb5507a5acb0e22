select Format(InDate, 'yyyy-mm-dd'), CVDate(InDate), DateDiff('d', InDate, Now()), Mid(Name, 2), Val('12abc') from tLog, tStock
