select top 2 Code, Nz(Price,0) as A, IIf(Paid, Price, 0) as B from tStock order by Code
